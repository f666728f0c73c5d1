#pragma once

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace tarnlow::cli {

// The WADs a command-line path names: a folder's *.wad files (any letter
// case), searched recursively and sorted, or the path itself. A path that
// is neither stays in the list, so that its row says why it cannot be read.
std::vector<std::filesystem::path> WadsUnder(const std::filesystem::path& path);

// "checked 3 of 12 WADs" on one line of a terminal, rewritten as work goes
// on and erased at the end. Shows nothing when `shown` is false (stderr is
// a pipe or a file): the output there stays what the command prints.
// step() may be called from several threads.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool shown, std::size_t total, std::string verb);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // One more file done.
  void step();
  // Takes the line off the terminal until the next step, so that output
  // written meanwhile to the same terminal starts on a clean line.
  void erase();

 private:
  std::ostream& err_;
  bool shown_;
  std::size_t total_;
  std::size_t done_ = 0;
  std::string verb_;
  std::size_t width_ = 0;  // of the longest line written, to erase it
  std::mutex mutex_;
};

}  // namespace tarnlow::cli
