#include "wad/file_paths.h"

namespace tarnlow {

namespace {

// Position just after the last separator, 0 when there is none.
std::size_t nameStart(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string_view::npos ? 0 : separator + 1;
}

}  // namespace

std::string FileTitle(std::string_view path, bool keepExtension) {
  std::string_view name = path.substr(nameStart(path));
  if (!keepExtension) {
    // The last dot of the name, even a leading one: ".wad" has an empty title.
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
  }
  return std::string(name);
}

std::string FolderOf(std::string_view path) { return std::string(path.substr(0, nameStart(path))); }

std::string SwdPathFor(std::string_view wadPath) { return FolderOf(wadPath) + FileTitle(wadPath, false) + ".swd"; }

}  // namespace tarnlow
