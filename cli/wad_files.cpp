#include "cli/wad_files.h"

#include <algorithm>
#include <system_error>

namespace tarnlow::cli {

namespace {

bool hasWadExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return extension == ".wad";
}

}  // namespace

std::vector<std::filesystem::path> WadsUnder(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_directory(path, ec)) return {path};
  std::vector<std::filesystem::path> found;
  const auto options = std::filesystem::directory_options::skip_permission_denied;
  std::filesystem::recursive_directory_iterator it(path, options, ec);
  for (; !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && hasWadExtension(it->path())) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

ProgressLine::ProgressLine(std::ostream& err, bool shown, std::size_t total, std::string verb)
    : err_(err), shown_(shown), total_(total), verb_(std::move(verb)) {}

ProgressLine::~ProgressLine() { erase(); }

void ProgressLine::erase() {
  if (!shown_ || width_ == 0) return;
  err_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  width_ = 0;
}

void ProgressLine::step() {
  if (!shown_) return;
  const std::lock_guard lock(mutex_);
  ++done_;
  const std::string line =
      verb_ + " " + std::to_string(done_) + " of " + std::to_string(total_) + (total_ == 1 ? " WAD" : " WADs");
  width_ = std::max(width_, line.size());
  err_ << '\r' << line << std::flush;
}

}  // namespace tarnlow::cli
