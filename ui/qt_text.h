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

}  // namespace tarnlow::ui
