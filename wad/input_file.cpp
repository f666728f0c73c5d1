#include "wad/input_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "wad/byte_reader.h"
#include "wad/wad_error.h"

#ifdef _WIN32
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarnlow {

namespace {

[[noreturn]] void throwNotRegular(const std::filesystem::path& path) {
  throw WadError(EINVAL, "Not a regular file (a pipe, device or socket)", path.string());
}

}  // namespace

#ifdef _WIN32

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
  std::FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) {
    // Windows refuses to open a folder with EACCES; say what it is instead.
    const int number = errno;
    std::error_code ec;
    ThrowSystemError(number == EACCES && std::filesystem::is_directory(path, ec) ? EISDIR : number, path);
  }
  struct _stat64 info {};
  if (_fstat64(_fileno(file), &info) != 0) {
    const int number = errno;
    std::fclose(file);
    ThrowSystemError(number, path);
  }
  if ((info.st_mode & _S_IFMT) != _S_IFREG) {
    std::fclose(file);
    if ((info.st_mode & _S_IFMT) == _S_IFDIR) ThrowSystemError(EISDIR, path);
    throwNotRegular(path);
  }
  file_ = file;
  size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() { std::fclose(static_cast<std::FILE*>(file_)); }

std::size_t InputFile::readSome(std::span<std::uint8_t> out) {
  auto* file = static_cast<std::FILE*>(file_);
  const std::size_t got = std::fread(out.data(), 1, out.size(), file);
  if (got < out.size() && std::ferror(file)) ThrowSystemError(errno != 0 ? errno : EIO, path_);
  return got;
}

#else

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
  // O_NONBLOCK so that opening a FIFO with no writer returns at once; the
  // file type is checked right after, before anything is read.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) ThrowSystemError(errno, path);
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    const int number = errno;
    ::close(fd_);
    ThrowSystemError(number, path);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd_);
    if (S_ISDIR(info.st_mode)) ThrowSystemError(EISDIR, path);
    throwNotRegular(path);
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() { ::close(fd_); }

std::size_t InputFile::readSome(std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::read(fd_, out.data() + done, out.size() - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError(errno, path_);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

#endif

std::int32_t InputFile::i32() {
  std::uint8_t b[4];
  fill(b);
  return ByteReader(b, PastEnd::ReadsZero).i32();
}

Bytes InputFile::take(std::uint64_t count) {
  Bytes out;
  out.resize(static_cast<std::size_t>(std::min(count, remaining())));
  fill(out);
  position_ += count - out.size();
  return out;
}

void InputFile::fill(std::span<std::uint8_t> out) {
  const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), remaining()));
  const std::size_t got = wanted > 0 ? readSome(out.first(wanted)) : 0;
  if (got < out.size()) std::memset(out.data() + got, 0, out.size() - got);
  // A file that shrank since it was opened ends where its data ended, so
  // that the position never runs ahead of the file's own offset.
  if (got < wanted) size_ = position_ + got;
  position_ += out.size();
}

}  // namespace tarnlow
