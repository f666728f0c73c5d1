#pragma once

#include <filesystem>
#include <string>

#include "wad/bytes.h"

namespace tarnlow::test {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes bytes to a file (plainly, not atomically); the test fails on error.
void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes);
// Reads a whole file; empty when it cannot be read.
Bytes ReadFileBytes(const std::filesystem::path& path);
std::string ReadFileText(const std::filesystem::path& path);

}  // namespace tarnlow::test
