#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "wad/bytes.h"

namespace tarnlow {

// A file read in one pass from its start, the way the document files are
// read: bytes past its end read as zero. The one place where the document
// readers meet the platform's file layer.
class InputFile {
 public:
  // Opens `path` for reading. Throws WadError (errno and its text, the path
  // as where) when it cannot be opened, and when it is not a regular file: a
  // folder, a pipe or a device is refused at once instead of blocking.
  explicit InputFile(const std::filesystem::path& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The file's length in bytes when it was opened.
  std::uint64_t size() const noexcept { return size_; }

  // Bytes consumed so far, including zeros read past the end.
  std::uint64_t position() const noexcept { return position_; }
  // Bytes left in the file after position().
  std::uint64_t remaining() const noexcept { return position_ < size_ ? size_ - position_ : 0; }

  // The next 32-bit little-endian value; zero bytes past the end.
  std::int32_t i32();

  // Consumes the next `count` bytes and returns those the file holds (all of
  // them unless the file ends first) in a fresh array filled by one read.
  // The missing tail is not stored; it reads as zero. Throws WadError
  // (errno and its text) on a read error.
  Bytes take(std::uint64_t count);

 private:
  // Fills `out` from the file; the part the file did not supply is zeroed.
  void fill(std::span<std::uint8_t> out);
  std::size_t readSome(std::span<std::uint8_t> out);

  std::filesystem::path path_;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
#ifdef _WIN32
  void* file_ = nullptr;  // std::FILE*
#else
  int fd_ = -1;
#endif
};

}  // namespace tarnlow
