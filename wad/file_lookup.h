#pragma once

#include <filesystem>
#include <optional>

namespace tarnlow {

// The regular file that `wanted` names, found the way Windows finds it: the
// name itself when a file is spelled exactly so, otherwise the file in the
// same folder whose name matches it ignoring letter case (ASCII and Latin-1
// letters, as LowerCaseName lowers them); of several such, the first in byte
// order of their names. Level files come from Windows, so a
// "tut1.WAD" beside "tut1.SWD" must find its companion here too.
// Returns the path as it is spelled on disk, or nothing when no file
// matches or the folder cannot be read.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& wanted);

// The folder that `wanted` names, found as FindFileIgnoringCase finds a
// file. Nothing when no folder matches or the parent cannot be read.
std::optional<std::filesystem::path> FindFolderIgnoringCase(const std::filesystem::path& wanted);

}  // namespace tarnlow
