#pragma once

#include <QString>
#include <string>

#include "wad/file_paths.h"

namespace tarnlow::ui {

// The core speaks UTF-8 std::string; Qt speaks QString. Conversions happen
// here and nowhere else.
inline QString ToQString(const std::string& text) { return QString::fromStdString(text); }
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace tarnlow::ui
