#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace tarnlow::ui {

// The core speaks UTF-8 std::string; Qt speaks QString. Conversions happen
// here and nowhere else.
inline QString ToQString(const std::string& text) { return QString::fromStdString(text); }
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

// A UTF-8 path as a filesystem path, whatever the system's narrow encoding.
inline std::filesystem::path PathFromUtf8(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// A filesystem path as UTF-8, spelled with the platform's separators.
inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string spelled = path.u8string();
  return std::string(spelled.begin(), spelled.end());
}

}  // namespace tarnlow::ui
