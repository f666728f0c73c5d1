#include "wad/scratch_file.h"

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <system_error>

namespace tarnlow {

ScratchFile::ScratchFile(std::string_view suffix) {
  // The clock as well: some runtimes' random_device gives the same numbers
  // in every process. The counter keeps two of one process apart.
  static std::atomic<unsigned> made{0};
  std::random_device random;
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() /
          ("tarnlow-" + std::to_string(random()) + "-" + std::to_string(now) + "-" + std::to_string(made++) + "-" +
           std::string(suffix));
}

ScratchFile::~ScratchFile() {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

}  // namespace tarnlow
