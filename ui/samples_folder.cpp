#include "ui/samples_folder.h"

#include "wad/file_lookup.h"
#include "wad/file_paths.h"

namespace tarnlow::ui {

std::optional<std::filesystem::path> KitSamplesFolder(const std::filesystem::path& wadPath) {
  const std::filesystem::path wads = wadPath.parent_path();
  const std::filesystem::path graphics = wads.parent_path();
  if (LowerCaseName(Utf8FromPath(wads.filename())) != "wads" ||
      LowerCaseName(Utf8FromPath(graphics.filename())) != "graphics") {
    return std::nullopt;
  }
  const std::optional<std::filesystem::path> sound = FindFolderIgnoringCase(graphics.parent_path() / "sound");
  if (!sound) return std::nullopt;
  return FindFolderIgnoringCase(*sound / "samples");
}

std::optional<std::filesystem::path> SamplesFolder(const std::string& chosen, const std::filesystem::path& wadPath) {
  if (!chosen.empty()) return PathFromUtf8(chosen);
  return KitSamplesFolder(wadPath);
}

}  // namespace tarnlow::ui
