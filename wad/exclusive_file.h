#pragma once

#include <cstdio>
#include <filesystem>

namespace tarnlow {

// Creates the file `path` and opens it for writing bytes, only if no file of
// that name exists: two writers can never share one new name. Returns the
// open stream, or nullptr with the errno value in `error` (EEXIST when the
// name is taken, EACCES, ENOENT and the like when the folder refuses).
std::FILE* CreateExclusive(const std::filesystem::path& path, int& error);

}  // namespace tarnlow
