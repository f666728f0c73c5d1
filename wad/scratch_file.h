#pragma once

#include <filesystem>
#include <string_view>

namespace tarnlow {

// A path in the system's temporary folder that no other process or scratch
// file takes, for bytes that must go through a file to be read back (a
// reader that takes paths). Nothing is created; whatever is at the path is
// removed when this goes out of scope, and a failure to remove is ignored.
class ScratchFile {
 public:
  // The name ends with `suffix` ("merge.wad"). Never fails.
  explicit ScratchFile(std::string_view suffix);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace tarnlow
