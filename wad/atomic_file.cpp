#include "wad/atomic_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <system_error>

#include "wad/exclusive_file.h"
#include "wad/wad_error.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <random>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarnlow {

namespace {

// Writes go to the target's real folder, so that a link is replaced by way
// of the file it names rather than turned into a plain file.
std::filesystem::path resolveLink(const std::filesystem::path& target) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(target, ec)) return target;
  std::filesystem::path real = std::filesystem::weakly_canonical(target, ec);
  return ec ? target : real;
}

std::filesystem::path folderOf(const std::filesystem::path& target) {
  return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

}  // namespace

#ifdef _WIN32

int AtomicFile::createTemp() {
  std::random_device random;
  const std::wstring name = L"." + target_.filename().wstring() + L".tarnlow-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_ = folderOf(target_) / (name + std::to_wstring(random()));
    int number = 0;
    file_ = CreateExclusive(temp_, number);
    if (file_ != nullptr) return 0;
    if (number != EEXIST) return number;
  }
  return EEXIST;
}

bool AtomicFile::targetWritable() const { return _waccess(target_.c_str(), 2) == 0; }

int AtomicFile::syncToDisk(std::FILE* file) const {
  if (durability_ == Durability::Scratch) return 0;
  return _commit(_fileno(file)) == 0 ? 0 : errno;
}

std::FILE* AtomicFile::openTargetForOverwrite() const { return _wfopen(target_.c_str(), L"r+b"); }

#else

int AtomicFile::createTemp() {
  std::string pattern = (folderOf(target_) / ("." + target_.filename().string() + ".tarnlow-XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return errno;
  temp_ = pattern;
  file_ = ::fdopen(fd, "wb");
  if (file_ != nullptr) return 0;
  const int number = errno;
  ::close(fd);
  std::filesystem::remove(temp_);
  return number;
}

bool AtomicFile::targetWritable() const { return ::access(target_.c_str(), W_OK) == 0; }

int AtomicFile::syncToDisk(std::FILE* file) const {
  if (durability_ == Durability::Scratch) return 0;
  return ::fsync(::fileno(file)) == 0 ? 0 : errno;
}

std::FILE* AtomicFile::openTargetForOverwrite() const { return std::fopen(target_.c_str(), "r+b"); }

#endif

AtomicFile::AtomicFile(std::filesystem::path target, Durability durability)
    : target_(resolveLink(target)), durability_(durability) {
  const int number = createTemp();
  if (number == 0) return;
  // A folder where the user may change the file but not create one (a
  // shared folder, some network drives): write the file itself at commit,
  // as a plain overwrite would. The bytes wait in memory until then.
  std::error_code ec;
  if ((number == EACCES || number == EPERM) && std::filesystem::is_regular_file(target_, ec) && targetWritable()) {
    inPlace_ = true;
    return;
  }
  ThrowSystemError(number, target_);
}

AtomicFile::~AtomicFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!committed_ && !inPlace_) {
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
  }
}

void AtomicFile::discard(int number) {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  std::error_code ec;
  std::filesystem::remove(temp_, ec);
  ThrowSystemError(number, target_);
}

void AtomicFile::write(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  if (inPlace_) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    return;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) ThrowSystemError(errno != 0 ? errno : EIO, target_);
}

void AtomicFile::writeZeros(std::uint64_t count) {
  static const std::array<std::uint8_t, 64 * 1024> kZeros{};
  while (count > 0) {
    const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, kZeros.size()));
    write(std::span<const std::uint8_t>(kZeros.data(), chunk));
    count -= chunk;
  }
}

void AtomicFile::commitInPlace() {
  // Opened without truncating: the old bytes are replaced only as the new
  // ones are written, and the tail is cut once they all are.
  std::FILE* file = openTargetForOverwrite();
  int number = file == nullptr ? errno : 0;
  if (number == 0 && !pending_.empty() && std::fwrite(pending_.data(), 1, pending_.size(), file) != pending_.size()) {
    number = errno != 0 ? errno : EIO;
  }
  if (number == 0 && std::fflush(file) != 0) number = errno;
  if (number == 0) number = syncToDisk(file);
  if (file != nullptr && std::fclose(file) != 0 && number == 0) number = errno;
  std::error_code ec;
  if (number == 0) std::filesystem::resize_file(target_, pending_.size(), ec);
  if (number == 0 && ec) number = ec.value();
  if (number != 0) {
    throw WadError(number,
                   std::generic_category().message(number) +
                       "; the folder allows no new file, so the file was written in place and may be incomplete",
                   target_.string());
  }
  committed_ = true;
}

#ifdef _WIN32

void AtomicFile::commit() {
  if (inPlace_) return commitInPlace();
  if (std::fflush(file_) != 0) discard(errno);
  if (const int number = syncToDisk(file_)) discard(number);
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) discard(errno);
  // Windows refuses to replace a read-only file, but wine replaces it: asking
  // first makes both refuse alike, so that the tests under wine see it.
  const DWORD attributes = GetFileAttributesW(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) discard(EACCES);
  if (!MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) discard(EACCES);
  committed_ = true;
}

#else

namespace {

// The mode a newly created file gets from the process's umask. mkstemp
// creates the temporary file private (0600), which would be wrong for a new
// target. POSIX offers no way to read the umask but to set it and set it
// back; the core saves files from one thread at a time.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

void AtomicFile::commit() {
  if (inPlace_) return commitInPlace();
  if (std::fflush(file_) != 0) discard(errno);
  const int fd = ::fileno(file_);
  struct stat existing {};
  const mode_t mode = ::stat(target_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
  if (::fchmod(fd, mode) != 0) discard(errno);
  if (const int number = syncToDisk(file_)) discard(number);
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) discard(errno);
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) discard(errno);
  committed_ = true;
  // Make the rename itself durable; the new content is already in place, so
  // a folder that cannot be synced is no failure of the write.
  if (durability_ == Durability::Scratch) return;
  const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

#endif

}  // namespace tarnlow
