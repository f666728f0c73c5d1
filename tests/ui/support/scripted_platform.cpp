#include "tests/ui/support/scripted_platform.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include "ui/qt_platform.h"

namespace tarnlow::ui::test {

std::optional<RegistryKey> MemoryRegistry::OpenKey(std::uint32_t root, const std::string& keyName,
                                                   std::uint32_t access) {
  lastAccess = access;
  if (root != kHkeyLocalMachine || !keys_.contains(keyName)) return std::nullopt;
  handles_.push_back(keyName);
  ++openKeys;
  return RegistryKey{handles_.size()};
}

std::optional<RegistryValueInfo> MemoryRegistry::QueryValue(RegistryKey key, const std::string& valueName,
                                                            std::span<std::uint8_t> buffer) {
  const auto& values = keys_.at(handles_.at(key - 1));
  const auto found = values.find(valueName);
  // Like the system: a value longer than the buffer is not copied at all.
  if (found == values.end() || found->second.bytes.size() > buffer.size()) return std::nullopt;
  std::copy(found->second.bytes.begin(), found->second.bytes.end(), buffer.begin());
  return RegistryValueInfo{found->second.type, found->second.bytes.size()};
}

ScriptedPlatform::ScriptedPlatform() : programFolder(QCoreApplication::applicationDirPath().toStdString()) {}

ScriptedPlatform::~ScriptedPlatform() {
  EXPECT_EQ(opens_.size() + saves_.size() + folders_.size() + messages_.size() + prints_.size(), 0u)
      << "answers never asked for: " << opens_.size() << " Open, " << saves_.size() << " Save, " << folders_.size()
      << " folder, " << messages_.size() << " message, " << prints_.size() << " print";
}

namespace {

std::string DialogLine(const char* kind, const FileDialogRequest& request) {
  std::string line = std::string(kind) + " [" + request.title + "] " + request.filter + " #" +
                     std::to_string(request.filterIndex) + " name=" + request.initialName;
  if (request.fileMustExist) line += " must-exist";
  if (request.overwritePrompt) line += " overwrite-prompt";
  if (request.pathMustExist) line += " path-must-exist";
  if (!request.initialFolder.empty()) line += " folder=" + request.initialFolder;
  return line;
}

// The next queued answer; a failure when none is queued.
template <typename T>
std::optional<T> Next(std::deque<T>& queue, const std::string& shown) {
  if (queue.empty()) {
    ADD_FAILURE() << "shown with no answer queued: " << shown;
    return std::nullopt;
  }
  T answer = queue.front();
  queue.pop_front();
  return answer;
}

}  // namespace

std::optional<FileDialogAnswer> ScriptedPlatform::OpenFileDialog(const FileDialogRequest& request) {
  story.push_back(DialogLine("Open", request));
  if (duringDialog) duringDialog();
  return Next(opens_, story.back()).value_or(std::nullopt);
}

std::optional<FileDialogAnswer> ScriptedPlatform::SaveFileDialog(const FileDialogRequest& request) {
  story.push_back(DialogLine("Save", request));
  return Next(saves_, story.back()).value_or(std::nullopt);
}

std::optional<std::string> ScriptedPlatform::FolderDialog(const std::string& title,
                                                          const std::string& initialFolder) {
  story.push_back("Folder [" + title + "] " + initialFolder);
  return Next(folders_, story.back()).value_or(std::nullopt);
}

MessageAnswer ScriptedPlatform::ShowMessage(const std::string& text, const std::string& caption,
                                            MessageButtons buttons, MessageIcon icon) {
  story.push_back("Message [" + caption + "]" + (buttons == MessageButtons::YesNo ? " yes-no" : " ok") +
                  (icon == MessageIcon::Exclamation ? " exclamation " : " ") + text);
  messageTexts.push_back(text);
  if (okEveryMessage && buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return Next(messages_, story.back()).value_or(MessageAnswer::No);
}

std::optional<PrintAnswer> ScriptedPlatform::PrintDialog(const PrintRequest& request) {
  story.push_back(std::string("Print") + (request.selectionEnabled ? " selection-enabled" : " selection-disabled") +
                  (request.selectionChosen ? " selection-chosen" : ""));
  const auto answer = Next(prints_, story.back()).value_or(std::nullopt);
  if (!answer) return std::nullopt;
  printer_ = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setOutputFileName(QString::fromStdString(answer->first));
  return PrintAnswer{printer_.get(), answer->second};
}

bool ScriptedPlatform::FileExists(const std::string& path) { return VisibleFileExists(path); }

std::optional<std::string> ScriptedPlatform::FindFile(const std::string& path) { return FindVisibleFile(path); }

bool ScriptedPlatform::StartProgram(const std::string& path) {
  story.push_back("Start " + path);
  return true;
}

bool ScriptedPlatform::PlaySample(const std::string& path) {
  story.push_back("Play " + path);
  return samplesPlay;
}

}  // namespace tarnlow::ui::test
