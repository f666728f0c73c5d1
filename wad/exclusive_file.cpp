#include "wad/exclusive_file.h"

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

namespace tarnlow {

std::FILE* CreateExclusive(const std::filesystem::path& path, int& error) {
  // msvcrt's fopen refuses the "x" mode on Windows (wine ignores it), so
  // the exclusive create is asked of the descriptor layer.
  int fd = -1;
  error = _wsopen_s(&fd, path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (error != 0) return nullptr;
  std::FILE* file = _wfdopen(fd, L"wb");
  if (file != nullptr) return file;
  error = errno;
  _close(fd);
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return nullptr;
}

}  // namespace tarnlow

#else
#include <fcntl.h>
#include <unistd.h>

namespace tarnlow {

std::FILE* CreateExclusive(const std::filesystem::path& path, int& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "wb");
  if (file != nullptr) return file;
  error = errno;
  ::close(fd);
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return nullptr;
}

}  // namespace tarnlow

#endif
