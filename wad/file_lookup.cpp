#include "wad/file_lookup.h"

#include <string>
#include <system_error>

#include "wad/file_paths.h"

namespace tarnlow {

namespace {

bool IsKind(const std::filesystem::file_status& status, bool wantFolder) {
  return wantFolder ? std::filesystem::is_directory(status) : std::filesystem::is_regular_file(status);
}

std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& wanted, bool wantFolder) {
  const std::string wantedName = Utf8FromPath(wanted.filename());
  const std::string wantedLower = LowerCaseName(wantedName);
  const std::filesystem::path folder = wanted.has_parent_path() ? wanted.parent_path() : std::filesystem::path(".");
  std::optional<std::filesystem::path> found;
  std::string foundName;
  std::error_code ec;
  std::filesystem::directory_iterator entries(folder, ec);
  for (const std::filesystem::directory_iterator end; !ec && entries != end; entries.increment(ec)) {
    std::error_code typeError;
    if (!IsKind(entries->status(typeError), wantFolder)) continue;
    const std::string name = Utf8FromPath(entries->path().filename());
    const bool exact = name == wantedName;
    if (!exact && (LowerCaseName(name) != wantedLower || (found && name >= foundName))) continue;
    // Kept with the folder as the caller wrote it, so only the name changes.
    found = wanted.has_parent_path() ? folder / entries->path().filename() : entries->path().filename();
    foundName = name;
    if (exact) break;
  }
  if (found) return found;
  // A folder that can be entered but not listed still answers for the exact name.
  std::error_code typeError;
  if (IsKind(std::filesystem::status(wanted, typeError), wantFolder)) return wanted;
  return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& wanted) {
  return FindIgnoringCase(wanted, false);
}

std::optional<std::filesystem::path> FindFolderIgnoringCase(const std::filesystem::path& wanted) {
  return FindIgnoringCase(wanted, true);
}

}  // namespace tarnlow
