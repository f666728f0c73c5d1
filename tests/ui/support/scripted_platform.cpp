#include "tests/ui/support/scripted_platform.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include "ui/qt_platform.h"

namespace tarnlow::ui::test {

void MemoryRegistry::setString(const std::string& key, const std::string& name, const std::string& text,
                               bool terminated) {
  Value value{kRegSz, std::vector<std::uint8_t>(text.begin(), text.end())};
  if (terminated) value.bytes.push_back(0);
  set(key, name, std::move(value));
}

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

void MemoryRegistry::CloseKey(RegistryKey) { --openKeys; }

ScriptedPlatform::ScriptedPlatform() : programFolder(QCoreApplication::applicationDirPath().toStdString()) {}

ScriptedPlatform::~ScriptedPlatform() {
  EXPECT_TRUE(opens_.empty()) << opens_.size() << " Open dialog answers were never asked for";
  EXPECT_TRUE(saves_.empty()) << saves_.size() << " Save dialog answers were never asked for";
  EXPECT_TRUE(messages_.empty()) << messages_.size() << " message box answers were never asked for";
  EXPECT_TRUE(prints_.empty()) << prints_.size() << " print dialog answers were never asked for";
}

void ScriptedPlatform::answerPrint(const std::string& pdfPath, bool selectionOnly) {
  prints_.push_back(std::make_pair(pdfPath, selectionOnly));
}

std::vector<std::string> ScriptedPlatform::story() const {
  std::vector<std::string> lines;
  for (const PlatformCall& call : calls_) lines.push_back(call.line);
  return lines;
}

std::vector<std::string> ScriptedPlatform::messageTexts() const {
  std::vector<std::string> texts;
  for (const PlatformCall& call : calls_) {
    if (call.line.starts_with("Message")) texts.push_back(call.text);
  }
  return texts;
}

namespace {
std::string DialogLine(const char* kind, const FileDialogRequest& request) {
  std::string line = std::string(kind) + " [" + request.title + "] " + request.filter + " #" +
                     std::to_string(request.filterIndex) + " name=" + request.initialName;
  if (request.fileMustExist) line += " must-exist";
  if (request.overwritePrompt) line += " overwrite-prompt";
  if (request.pathMustExist) line += " path-must-exist";
  return line;
}
}  // namespace

std::optional<FileDialogAnswer> ScriptedPlatform::OpenFileDialog(const FileDialogRequest& request) {
  calls_.push_back({DialogLine("Open", request), request, {}, {}});
  if (duringDialog) duringDialog();
  if (opens_.empty()) {
    ADD_FAILURE() << "Open dialog shown with no answer queued: " << calls_.back().line;
    return std::nullopt;
  }
  auto answer = opens_.front();
  opens_.pop_front();
  return answer;
}

std::optional<FileDialogAnswer> ScriptedPlatform::SaveFileDialog(const FileDialogRequest& request) {
  calls_.push_back({DialogLine("Save", request), request, {}, {}});
  if (saves_.empty()) {
    ADD_FAILURE() << "Save dialog shown with no answer queued: " << calls_.back().line;
    return std::nullopt;
  }
  auto answer = saves_.front();
  saves_.pop_front();
  return answer;
}

MessageAnswer ScriptedPlatform::ShowMessage(const std::string& text, const std::string& caption,
                                            MessageButtons buttons, MessageIcon icon) {
  std::string line = "Message [" + caption + "]";
  line += buttons == MessageButtons::YesNo ? " yes-no" : " ok";
  if (icon == MessageIcon::Exclamation) line += " exclamation";
  line += " " + text;
  calls_.push_back({line, {}, {}, text});
  if (messages_.empty()) {
    ADD_FAILURE() << "Message box shown with no answer queued: " << line;
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
  }
  const MessageAnswer answer = messages_.front();
  messages_.pop_front();
  return answer;
}

std::optional<PrintAnswer> ScriptedPlatform::PrintDialog(const PrintRequest& request) {
  std::string line = "Print";
  line += request.selectionEnabled ? " selection-enabled" : " selection-disabled";
  if (request.selectionChosen) line += " selection-chosen";
  calls_.push_back({line, {}, request, {}});
  if (prints_.empty()) {
    ADD_FAILURE() << "Print dialog shown with no answer queued";
    return std::nullopt;
  }
  const auto answer = prints_.front();
  prints_.pop_front();
  if (!answer) return std::nullopt;
  printer_ = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setOutputFileName(QString::fromStdString(answer->first));
  return PrintAnswer{printer_.get(), answer->second};
}

bool ScriptedPlatform::FileExists(const std::string& path) { return VisibleFileExists(path); }

bool ScriptedPlatform::StartProgram(const std::string& path) {
  calls_.push_back({"Start " + path, {}, {}, {}});
  return startSucceeds;
}

}  // namespace tarnlow::ui::test
