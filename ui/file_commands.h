#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "wad/wad_document.h"

namespace tarnlow::ui {

class Platform;
struct Session;

// What the file commands ask of the window; the window does the showing.
class FileCommandView {
 public:
  virtual ~FileCommandView() = default;
  virtual void SetWadLabel(const std::string& text) = 0;
  virtual void SetSwdLabel(const std::string& text) = 0;
  virtual void UpdateMenuStates() = 0;
  virtual void RepaintNow() = 0;
  virtual void ShowSummaryReport() = 0;
  virtual void FillObjectList() = 0;
  // The documents were replaced: the pictures show the texture pages of the
  // ones now held, and no longer a mesh of the documents before.
  virtual void ShowTexturePages() = 0;
  virtual void MakeReport(int level) = 0;
};

// Whether the program goes on after a command. A WAD that cannot be read
// ends the program once its message has been shown, unless the user chose
// to stay open: then the window keeps the WAD it held (Refused).
enum class CommandOutcome { Continue, EndProgram, Refused };

struct OpenResult {
  std::string path;  // the opened file's path; empty when the dialog was cancelled or the WAD refused
  CommandOutcome outcome = CommandOutcome::Continue;
};

// The File menu's commands and the loaders they share.
class FileCommands {
 public:
  static constexpr int kWad = 0;
  static constexpr int kWas = 1;

  FileCommands(Session& session, Platform& platform, FileCommandView& view)
      : session_(session), platform_(platform), view_(view) {}

  // Kind kWad: asks for a WAD, reads it and its SWD, shows the summary
  // report, the object list and the texture pages. Kind kWas: asks for an
  // SWD, reads it and shows the texture pages. A cancelled dialog changes
  // nothing and returns an empty path.
  OpenResult SelectAndOpen(int kind);

  // The open sequence after the dialog, for a WAD the user named another way
  // (on the command line, dropped on the window): takes `path` as the
  // current file, reads it and its SWD, shows the summary report, the object
  // list and the texture pages. A WAD that cannot be read ends the program
  // (EndProgram), or, when the user chose to stay open, leaves the paths,
  // labels, report, lists and pictures as they were and returns an empty
  // path (Continue).
  OpenResult OpenWad(const std::string& path);

  // Reads the WAD at `path` into the session when a (not hidden) file is
  // there; nothing changes when none is. With the setting on, empty, short
  // and missing sections are read as far as the file goes, and a file cut
  // short is told in a message. A WAD that cannot
  // be read shows "ReadWAD -> error code N" and its description, leaves the
  // held document as it was and returns EndProgram, or Refused when the user
  // chose to stay open.
  CommandOutcome LoadWad(const std::string& path);

  // Reads the SWD that `derivedPath` names when a (not hidden) file is there,
  // its letter case ignored as on Windows, and shows the path as found on
  // disk. An SWD that cannot be read is told in one message; the previous
  // SWD stays loaded.
  void LoadSwd(const std::string& derivedPath);

  // "&Save WAD": writes the document back to WadFileName. A failure is told
  // in a message; the file on disk is then as it was. A WAD read from a file
  // cut short is not written over that file (its incomplete last bytes
  // would be lost): a message points to "Save WAD &as..." instead.
  void SaveWad();

  // "Save WAD &as...": asks for a new name, takes it as the current file,
  // writes the document there and rebuilds the report under the new title.
  // A cancelled dialog changes nothing; a failed write is told in a message
  // and the rest of the command still runs.
  void SaveWadAs();

 private:
  void WriteDocument();

  Session& session_;
  Platform& platform_;
  FileCommandView& view_;
};

// "ReadWAD -> error code" and the number (one blank before a non-negative
// one), a line feed and the description.
std::string ReadWadErrorText(int number, const std::string& description);

// Reads the WAD at `path`, as far as it goes when `lenient`, its length in
// bytes into `length`. A file that cannot be read, or memory running out,
// is said once in the ReadWadErrorText message box and gives nothing.
std::optional<WadDocument> ReadWadOrSay(Platform& platform, const std::filesystem::path& path, bool lenient,
                                        std::int64_t& length);

}  // namespace tarnlow::ui
