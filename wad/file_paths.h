#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarnlow {

// Path operations on paths as the user's dialogs return them. Both "\" and
// "/" separate folders, so Windows paths behave the same on every platform.

// The file name of `path` without its folder; without its extension too
// unless keepExtension. "C:\data\a.b.wad" gives "a.b"; "C:\my.dir\level"
// gives "level".
std::string FileTitle(std::string_view path, bool keepExtension);

// The folder of `path` with its trailing separator, or empty when the path
// names no folder. "C:\data\level1.wad" gives "C:\data\".
std::string FolderOf(std::string_view path);

// The SWD companion of a WAD: FolderOf + FileTitle + ".swd", the extension in
// lower case whatever the WAD's. "C:\data\level1.WAD" gives
// "C:\data\level1.swd".
std::string SwdPathFor(std::string_view wadPath);

// `text` with its letters in lower case. The text is UTF-8: ASCII and the
// Latin-1 letters (U+00C0 to U+00DE but U+00D7) are lowered; every other
// character and every byte that is not valid UTF-8 stays as it is.
std::string LowerCaseName(std::string_view text);

// A UTF-8 path as a filesystem path, whatever the system's narrow encoding
// (on Windows the ANSI code page, which would mangle any other character).
std::filesystem::path PathFromUtf8(const std::string& utf8);

// A filesystem path as UTF-8, spelled with the platform's separators.
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace tarnlow
