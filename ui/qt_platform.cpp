#include "ui/qt_platform.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QSettings>

#include "ui/qt_text.h"
#include "wad/file_lookup.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tarnlow::ui {

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString bracketed = QLatin1Char('(') + patterns + QLatin1Char(')');
    filters << (description.endsWith(bracketed) ? description : description + QLatin1Char(' ') + bracketed);
  }
  return filters;
}

QtPlatform::QtPlatform() : registry_(MakeSystemRegistry()) {}
QtPlatform::~QtPlatform() = default;

std::optional<FileDialogAnswer> QtPlatform::runFileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(parent_, ToQString(request.title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // The file-must-exist flag decides whether a typed name of a missing file
  // is accepted; Qt's own dialog checks that the folder exists when saving.
  dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = QtNameFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const qsizetype index = request.filterIndex - 1;
    if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
  }
  if (!request.initialFolder.empty()) dialog.setDirectory(ToQString(request.initialFolder));
  if (!request.initialName.empty()) dialog.selectFile(ToQString(request.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  FileDialogAnswer answer;
  answer.path = ToUtf8(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
  answer.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  if (answer.filterIndex < 1) answer.filterIndex = 1;
  return answer;
}

std::optional<FileDialogAnswer> QtPlatform::OpenFileDialog(const FileDialogRequest& request) {
  return runFileDialog(request, false);
}

std::optional<FileDialogAnswer> QtPlatform::SaveFileDialog(const FileDialogRequest& request) {
  return runFileDialog(request, true);
}

std::optional<std::string> QtPlatform::FolderDialog(const std::string& title, const std::string& initialFolder) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, ToQString(title), ToQString(initialFolder));
  if (folder.isEmpty()) return std::nullopt;
  return ToUtf8(QDir::toNativeSeparators(folder));
}

MessageAnswer QtPlatform::ShowMessage(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon) {
  QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                  ToQString(caption), ToQString(text),
                  buttons == MessageButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                  parent_);
  const int pressed = box.exec();
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

#ifndef _WIN32
namespace {

// Qt's dialog sets up its choices each time it is shown, so the greying is
// applied when the show event arrives, after that.
class GreyedPrintChoices : public QObject {
 public:
  GreyedPrintChoices(QPrintDialog& dialog, bool selectionEnabled)
      : QObject(&dialog), selectionEnabled_(selectionEnabled) {
    dialog.installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show) return false;
    if (auto* selection = watched->findChild<QAbstractButton*>(QStringLiteral("printSelection"))) {
      selection->setEnabled(selectionEnabled_);
    }
    for (const char* name : {"printRange", "pagesRadioButton"}) {
      if (auto* range = watched->findChild<QAbstractButton*>(QLatin1String(name))) range->setEnabled(false);
    }
    return false;
  }

 private:
  bool selectionEnabled_;
};

}  // namespace
#endif

void ConfigurePrintDialog(QPrintDialog& dialog, const PrintRequest& request) {
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
#ifdef _WIN32
  // The native dialog greys "Selection" itself when the option is off.
  dialog.setOption(QAbstractPrintDialog::PrintSelection, request.selectionEnabled);
#else
  // Qt's own dialog hides "Selection" with the option off, and offers its
  // page range whatever the option says: offer "Selection", and grey it
  // while nothing is selected, and the range, as the Windows dialog does.
  dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
  new GreyedPrintChoices(dialog, request.selectionEnabled);
#endif
  dialog.setPrintRange(request.selectionChosen ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
}

std::optional<PrintAnswer> QtPlatform::PrintDialog(const PrintRequest& request) {
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrintDialog dialog(printer_.get(), parent_);
  ConfigurePrintDialog(dialog, request);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return PrintAnswer{printer_.get(), dialog.printRange() == QAbstractPrintDialog::Selection};
}

bool QtPlatform::FileExists(const std::string& path) { return VisibleFileExists(path); }

bool VisibleFileExists(const std::string& path) {
  const QFileInfo info(ToQString(path));
  if (!info.exists() || !info.isFile() || info.isHidden()) return false;
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(info.absoluteFilePath().utf16()));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
    return false;
  }
#endif
  return true;
}

std::optional<std::string> FindVisibleFile(const std::string& path) {
  const std::optional<std::filesystem::path> found = FindFileIgnoringCase(PathFromUtf8(path));
  if (!found) return std::nullopt;
  std::string utf8 = Utf8FromPath(*found);
  if (!VisibleFileExists(utf8)) return std::nullopt;
  return utf8;
}

// Qt spells folders with "/" everywhere; Windows users read "\".
std::string QtPlatform::ProgramFolder() {
  return ToUtf8(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

bool QtPlatform::StartProgram(const std::string& path) {
  return QProcess::startDetached(ToQString(path), QStringList());
}

bool QtPlatform::PlaySample(const std::string& path) { return player_.play(PathFromUtf8(path)); }

namespace {
constexpr const char* kOpenEmptySectionsKey = "OpenWADsWithEmptySections";
constexpr const char* kStayOpenKey = "StayOpenAfterUnreadableWAD";
constexpr const char* kObjectViewGeometryKey = "ObjectViewGeometry";
constexpr const char* kSamplesFolderKey = "SoundSamplesFolder";

QSettings UserSettings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tarnlow"), QStringLiteral("Tarnlow"));
}
}  // namespace

WindowSettings QtPlatform::LoadSettings() {
  const QSettings stored = UserSettings();
  WindowSettings settings;
  settings.openEmptySections = stored.value(QLatin1String(kOpenEmptySectionsKey), false).toBool();
  settings.stayOpenAfterUnreadableWad = stored.value(QLatin1String(kStayOpenKey), false).toBool();
  settings.objectViewGeometry = ToUtf8(stored.value(QLatin1String(kObjectViewGeometryKey)).toString());
  settings.samplesFolder = ToUtf8(stored.value(QLatin1String(kSamplesFolderKey)).toString());
  return settings;
}

void QtPlatform::SaveSettings(const WindowSettings& settings) {
  QSettings stored = UserSettings();
  stored.setValue(QLatin1String(kOpenEmptySectionsKey), settings.openEmptySections);
  stored.setValue(QLatin1String(kStayOpenKey), settings.stayOpenAfterUnreadableWad);
  stored.setValue(QLatin1String(kObjectViewGeometryKey), ToQString(settings.objectViewGeometry));
  stored.setValue(QLatin1String(kSamplesFolderKey), ToQString(settings.samplesFolder));
}

}  // namespace tarnlow::ui
