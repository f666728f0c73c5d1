#pragma once

#include <QStringList>
#include <memory>

#include "ui/platform.h"
#include "ui/registry.h"
#include "ui/sample_player.h"

class QPrintDialog;
class QPrinter;
class QWidget;

namespace tarnlow::ui {

// Converts "description|pattern|description|pattern" into Qt name filters
// ("TR WAD file (*.wad)"). A description that already ends with its pattern
// in brackets is kept as it is; ";" between patterns becomes a space.
QStringList QtNameFilters(const std::string& filter);

// True when a regular file exists at `path` and is not hidden: a dot-file
// on Linux, the hidden or system attribute on Windows. False on any error.
bool VisibleFileExists(const std::string& path);

// Sets up the print dialog for a report: no page range, "Selection" shown
// always, enabled only when text is selected, and chosen when asked.
void ConfigurePrintDialog(QPrintDialog& dialog, const PrintRequest& request);

// The file FindFileIgnoringCase finds for `path`, when it is visible as
// VisibleFileExists says. Nothing otherwise.
std::optional<std::string> FindVisibleFile(const std::string& path);

// The platform as Qt offers it: Qt's file, message and print dialogs,
// QFileInfo, QProcess, the system registry, the SamplePlayer, and QSettings for the user's
// settings (the registry under HKEY_CURRENT_USER on Windows, a file under
// ~/.config on Linux).
class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  // The window that owns the dialogs (none before the main window exists).
  void setDialogParent(QWidget* parent) { parent_ = parent; }

  std::optional<FileDialogAnswer> OpenFileDialog(const FileDialogRequest& request) override;
  std::optional<FileDialogAnswer> SaveFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> FolderDialog(const std::string& title, const std::string& initialFolder) override;
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons,
                            MessageIcon icon) override;
  std::optional<PrintAnswer> PrintDialog(const PrintRequest& request) override;
  bool FileExists(const std::string& path) override;
  std::optional<std::string> FindFile(const std::string& path) override { return FindVisibleFile(path); }
  std::string ProgramFolder() override;
  RegistryReader& Registry() override { return *registry_; }
  bool StartProgram(const std::string& path) override;
  bool PlaySample(const std::string& path) override;
  WindowSettings LoadSettings() override;
  void SaveSettings(const WindowSettings& settings) override;

 private:
  std::optional<FileDialogAnswer> runFileDialog(const FileDialogRequest& request, bool save);

  QWidget* parent_ = nullptr;
  std::unique_ptr<RegistryReader> registry_;
  std::unique_ptr<QPrinter> printer_;
  SamplePlayer player_;
};

}  // namespace tarnlow::ui
