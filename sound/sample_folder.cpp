#include "sound/sample_folder.h"

#include <system_error>

#include "wad/file_paths.h"

namespace tarnlow {

std::optional<SampleFolder> SampleFolder::Read(const std::filesystem::path& folder) {
  SampleFolder samples;
  samples.folder_ = folder;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return std::nullopt;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) return std::nullopt;
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::filesystem::path& file = it->path();
    // Of two names alike but for case, the first in byte order wins, as
    // FindFileIgnoringCase picks.
    const std::string key = LowerCaseName(Utf8FromPath(file.filename()));
    const auto [at, fresh] = samples.byLowerName_.try_emplace(key, file);
    if (!fresh && file.filename() < at->second.filename()) at->second = file;
  }
  return samples;
}

std::optional<std::filesystem::path> SampleFolder::find(const std::string& name) const {
  const auto found = byLowerName_.find(LowerCaseName(name));
  if (found == byLowerName_.end()) return std::nullopt;
  return found->second;
}

}  // namespace tarnlow
