#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace tarnlow {

// The WAV files of a samples folder, found by name in any letter case (a
// .sam's names and the files on disk often differ in case).
class SampleFolder {
 public:
  // Lists the regular files of `folder` (not its subfolders). Returns
  // nothing when the folder cannot be read.
  static std::optional<SampleFolder> Read(const std::filesystem::path& folder);

  const std::filesystem::path& path() const { return folder_; }
  // The file `name` (a .sam line) names, as spelled on disk; nothing when the
  // folder lacks it.
  std::optional<std::filesystem::path> find(const std::string& name) const;

 private:
  std::filesystem::path folder_;
  std::map<std::string, std::filesystem::path> byLowerName_;
};

}  // namespace tarnlow
