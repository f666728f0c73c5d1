#pragma once

#include <optional>
#include <string>

class QPrinter;

namespace tarnlow::ui {

class RegistryReader;

// The caption of every message box that names no other.
inline constexpr const char* kAppTitle = "Tarnlow";

// What an Open or Save dialog is asked to do. The filter string holds pairs
// of description and pattern separated by "|": "TR WAD file (*.wad)|*.wad".
struct FileDialogRequest {
  std::string title;
  std::string filter;
  int filterIndex = 1;  // 1-based entry of `filter` preselected
  std::string initialName;
  bool fileMustExist = false;
  bool overwritePrompt = false;  // without it the dialog asks no overwrite question
  bool pathMustExist = false;
  // The folder the dialog starts in (UTF-8); empty leaves the choice to the
  // system (the folder it showed last, or the current one).
  std::string initialFolder;
};

// The file the user chose and the filter entry left selected (1-based).
struct FileDialogAnswer {
  std::string path;
  int filterIndex = 1;
};

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Exclamation };
enum class MessageAnswer { Ok, Yes, No };

// The print dialog: whether the selection range can be chosen, and whether
// it starts chosen.
struct PrintRequest {
  bool selectionEnabled = false;
  bool selectionChosen = false;
};

// The printer the user confirmed; it stays owned by the platform and valid
// until the next print dialog.
struct PrintAnswer {
  QPrinter* printer = nullptr;
  bool selectionOnly = false;
};

// The window's settings, remembered between runs. Its switches are off
// unless the user turns them on; off, the window behaves as it always has.
struct WindowSettings {
  // Read a WAD with empty, short or missing sections as far as it goes
  // instead of refusing it.
  bool openEmptySections = false;
  // After a WAD that cannot be read, keep the window and the WAD it held
  // instead of ending the program.
  bool stayOpenAfterUnreadableWad = false;
  // Where the object view's own window stood and how large it was, as Qt
  // saves a window's geometry; empty until it was first closed.
  std::string objectViewGeometry;
  // The folder the Sounds list plays samples from (UTF-8); empty for the
  // level kit's own sound/samples folder beside the WAD's graphics folder.
  std::string samplesFolder;

  friend bool operator==(const WindowSettings&, const WindowSettings&) = default;
};

// Everything the program takes from the system besides its own widgets.
// The window and its operations talk to the system only through this, so
// tests can answer for the user.
class Platform {
 public:
  virtual ~Platform() = default;

  // An Open dialog. Nothing when the user cancels (or the dialog fails).
  virtual std::optional<FileDialogAnswer> OpenFileDialog(const FileDialogRequest& request) = 0;
  // A Save dialog. Nothing when the user cancels (or the dialog fails).
  virtual std::optional<FileDialogAnswer> SaveFileDialog(const FileDialogRequest& request) = 0;
  // A dialog choosing an existing folder, opened at `initialFolder` (UTF-8,
  // may be empty). The folder chosen, or nothing when the user cancels.
  virtual std::optional<std::string> FolderDialog(const std::string& title, const std::string& initialFolder) = 0;
  // A modal message box; returns the button pressed (Ok for an OK box).
  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon) = 0;
  // The print dialog. Nothing when the user cancels.
  virtual std::optional<PrintAnswer> PrintDialog(const PrintRequest& request) = 0;
  // True when a regular file exists at `path` and is not hidden (a dot-file
  // on Linux; the hidden or system attribute on Windows). False on any error.
  virtual bool FileExists(const std::string& path) = 0;
  // The visible regular file that `path` names, looked up as Windows looks a
  // name up (letter case ignored when no file is spelled exactly so), as it
  // is spelled on disk (UTF-8). Nothing when there is none or on any error.
  virtual std::optional<std::string> FindFile(const std::string& path) = 0;
  // The folder that holds the program (UTF-8, no trailing separator).
  virtual std::string ProgramFolder() = 0;
  // The system registry, read only through GetKeyValue.
  virtual RegistryReader& Registry() = 0;
  // Starts a program detached, with a normal focused window. False when it
  // cannot be started.
  virtual bool StartProgram(const std::string& path) = 0;
  // Starts playing the WAV file at `path` (UTF-8) and returns without
  // waiting for it; a sample still playing stops. False when it cannot be
  // played: no such file, no sound device, a file the system refuses.
  virtual bool PlaySample(const std::string& path) = 0;
  // The settings the user saved in an earlier run; the defaults when none
  // were saved or they cannot be read.
  virtual WindowSettings LoadSettings() = 0;
  // Remembers the settings for later runs. A failure to store them is not
  // told: they still hold for this run.
  virtual void SaveSettings(const WindowSettings& settings) = 0;
};

}  // namespace tarnlow::ui
