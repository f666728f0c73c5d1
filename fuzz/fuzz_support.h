#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "wad/scratch_file.h"

namespace tarnlow::fuzz {

// Stops the run with a message when a property does not hold. An abort is
// what both libFuzzer and the replay test count as a finding.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property violated: %s\n", what);
  std::abort();
}

// The core's scratch file, one per target and name, reused for every input:
// the readers take paths, and the core gets no in-memory entry point just
// for fuzzing.
class ScratchFile : public tarnlow::ScratchFile {
 public:
  using tarnlow::ScratchFile::ScratchFile;

  // The file's whole content; empty when it cannot be read.
  std::string read() const {
    std::string out;
    std::FILE* f = std::fopen(path().string().c_str(), "rb");
    if (f == nullptr) return out;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, got);
    std::fclose(f);
    return out;
  }

  // Replaces the file's content with `size` bytes.
  void write(const std::uint8_t* data, std::size_t size) const {
    std::FILE* f = std::fopen(path().string().c_str(), "wb");
    Require(f != nullptr, "scratch file can be created");
    const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    Require(std::fclose(f) == 0 && written, "scratch file can be written");
  }
};

}  // namespace tarnlow::fuzz
