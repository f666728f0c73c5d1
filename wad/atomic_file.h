#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

namespace tarnlow {

// Whether a written file must survive a crash of the system: a scratch file
// read back at once and removed (the merge's proof) is not synced, which
// would cost the disk's time for nothing.
enum class Durability { Synced, Scratch };

// Writes a file so that a failure never leaves a half-written file where a
// good one was: bytes go to a temporary file beside the target, which
// commit() flushes, syncs and renames over the target (keeping an existing
// target's permissions). Destroying the writer before commit() removes the
// temporary file and leaves the target untouched.
class AtomicFile {
 public:
  // Creates the temporary file. Throws WadError (errno and its text) when
  // the folder cannot be written and neither can the target.
  explicit AtomicFile(std::filesystem::path target, Durability durability = Durability::Synced);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends bytes. Throws WadError (errno and its text) on a write failure.
  void write(std::span<const std::uint8_t> bytes);
  // Appends `count` zero bytes. Throws like write().
  void writeZeros(std::uint64_t count);
  // Makes the written bytes the target's content. Throws WadError on
  // failure, after removing the temporary file.
  void commit();

 private:
  // Closes and removes the temporary file, then throws the errno `number`.
  [[noreturn]] void discard(int number);
  // Creates and opens the temporary file; returns 0 or the errno.
  int createTemp();
  bool targetWritable() const;
  // Flushes the file's bytes to the disk unless it is scratch; returns 0 or
  // the errno.
  int syncToDisk(std::FILE* file) const;
  // Opens the existing target for writing without truncating it; nullptr
  // (errno set) on failure.
  std::FILE* openTargetForOverwrite() const;
  void commitInPlace();

  std::filesystem::path target_;
  Durability durability_;
  std::filesystem::path temp_;
  std::FILE* file_ = nullptr;
  bool committed_ = false;
  bool inPlace_ = false;
  std::vector<std::uint8_t> pending_;  // the bytes of an in-place write
};

}  // namespace tarnlow
