#pragma once

#include <cstdint>
#include <filesystem>

#include "wad/wad_document.h"

namespace tarnlow::bench {

// Every generated object has LARA's 15 meshes.
inline constexpr int kMeshes = 15;

struct Shape {
  int objects;
  int animationsPerObject;
  int texturePages;
  int meshesPerObject;  // distinct meshes; the rest of the 15 repeat them
  int ringSides;
};

// A WAD in which every reference holds, made of `shape.objects` objects
// of 15 meshes with their animations.
WadDocument Generated(const Shape& shape);

// The 64 MiB WAD, made on first use and removed at exit.
class GeneratedFile {
 public:
  GeneratedFile();
  ~GeneratedFile();
  static const GeneratedFile& instance();
  const std::filesystem::path& path() const { return path_; }
  const std::filesystem::path& folder() const { return folder_; }
  std::uint64_t size() const { return size_; }
  const WadDocument& document() const { return document_; }

 private:
  std::filesystem::path folder_;
  std::filesystem::path path_;
  std::uint64_t size_ = 0;
  WadDocument document_;
};

}  // namespace tarnlow::bench
