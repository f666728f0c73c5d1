#pragma once

#include <QPrinter>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/platform.h"
#include "ui/registry.h"

namespace tarnlow::ui::test {

// A registry held in memory: keys of values with their type and bytes.
// Records how keys were opened and how many are still open.
class MemoryRegistry : public RegistryReader {
 public:
  struct Value {
    std::uint32_t type;
    std::vector<std::uint8_t> bytes;
  };
  void set(const std::string& key, const std::string& name, Value value) { keys_[key][name] = std::move(value); }

  std::optional<RegistryKey> OpenKey(std::uint32_t root, const std::string& keyName, std::uint32_t access) override;
  std::optional<RegistryValueInfo> QueryValue(RegistryKey key, const std::string& valueName,
                                              std::span<std::uint8_t> buffer) override;
  void CloseKey(RegistryKey) override { --openKeys; }

  std::uint32_t lastAccess = 0;
  int openKeys = 0;

 private:
  std::map<std::string, std::map<std::string, Value>> keys_;
  std::vector<std::string> handles_;
};

// Answers dialogs and message boxes from queues and records every call in
// order as a line of the story:
// "Open [Select a WAD to Edit] TR WAD file (*.wad)|*.wad #1 name= must-exist"
// (" folder=..." ends the line of a dialog asked to start in a folder),
// "Message [Tarnlow] ok Unknown FaceType - Face 0". A dialog or message box
// with no answer queued fails the test; so do answers left unused at the end.
class ScriptedPlatform : public Platform {
 public:
  ScriptedPlatform();
  ~ScriptedPlatform() override;

  void answerOpen(const std::string& path) { opens_.push_back(FileDialogAnswer{path, 1}); }
  void cancelOpen() { opens_.push_back(std::nullopt); }
  void answerSave(const std::string& path, int filterIndex = 1) { saves_.push_back({{path, filterIndex}}); }
  void cancelSave() { saves_.push_back(std::nullopt); }
  void answerFolder(const std::string& path) { folders_.push_back(path); }
  void cancelFolder() { folders_.push_back(std::nullopt); }
  void answerMessage(MessageAnswer answer = MessageAnswer::Ok) { messages_.push_back(answer); }
  // Confirms the print dialog; the pages go to a PDF file.
  void answerPrint(const std::string& pdfPath, bool selectionOnly) { prints_.push_back({{pdfPath, selectionOnly}}); }
  void cancelPrint() { prints_.push_back(std::nullopt); }

  // OK boxes answer themselves, for stories about what else happens (they
  // are still recorded).
  bool okEveryMessage = false;
  // Runs while the Open dialog is up, before it is answered.
  std::function<void()> duringDialog;
  std::string programFolder;
  // What PlaySample answers; the file is recorded in the story either way
  // ("Play /kit/sound/samples/foot01.wav"), and no sound is made.
  bool samplesPlay = true;
  MemoryRegistry registry;
  // The settings as stored between runs: what LoadSettings gives and
  // SaveSettings keeps.
  WindowSettings storedSettings;

  // The story so far, one line per call, and the texts of the message boxes.
  std::vector<std::string> story;
  std::vector<std::string> messageTexts;

  std::optional<FileDialogAnswer> OpenFileDialog(const FileDialogRequest& request) override;
  std::optional<FileDialogAnswer> SaveFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> FolderDialog(const std::string& title, const std::string& initialFolder) override;
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons,
                            MessageIcon icon) override;
  std::optional<PrintAnswer> PrintDialog(const PrintRequest& request) override;
  bool FileExists(const std::string& path) override;
  std::optional<std::string> FindFile(const std::string& path) override;
  std::string ProgramFolder() override { return programFolder; }
  RegistryReader& Registry() override { return registry; }
  bool StartProgram(const std::string& path) override;
  bool PlaySample(const std::string& path) override;
  WindowSettings LoadSettings() override { return storedSettings; }
  void SaveSettings(const WindowSettings& settings) override { storedSettings = settings; }

 private:
  std::deque<std::optional<FileDialogAnswer>> opens_, saves_;
  std::deque<std::optional<std::string>> folders_;
  std::deque<MessageAnswer> messages_;
  std::deque<std::optional<std::pair<std::string, bool>>> prints_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace tarnlow::ui::test
