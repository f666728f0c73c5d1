#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "anim/animation_graph.h"
#include "content/object_content.h"
#include "wad/wad_document.h"

namespace tarnlow {

// Tells whether objects of two WADs are stored in the same bytes, wherever
// their records lie: each mesh's bytes, the texture records its faces name
// and the pixels under them, the mesh tree's words, the animations field by
// field with their state changes, dispatches and commands, leads to the
// same place, and the key frames' words. Objects stored alike have equal
// content (what MoveableContentOf and StaticContentOf give without a sound
// table), found without decoding a mesh or a key frame; so a merge proves
// the objects it carried over unchanged quickly. Objects that are not
// stored alike may still have equal content (a face naming another record
// of the same picture): only their contents tell. Never fails; a record
// that cannot be read, or bytes a file lacks, make objects not alike.
class StoredAlike {
 public:
  StoredAlike(const WadDocument& left, const WadDocument& right);

  // Moveable `a` of the left WAD and moveable `b` of the right one.
  bool moveables(std::size_t a, std::size_t b);
  // Static mesh `a` of the left WAD and static mesh `b` of the right one.
  bool statics(std::size_t a, std::size_t b);

 private:
  bool meshes(std::int64_t a, std::int64_t b);
  bool texture(std::int16_t type, std::int16_t word);
  bool tree(const MoveableRecord& a, const MoveableRecord& b) const;
  bool animations(std::size_t a, std::size_t b, int meshCount);
  bool animation(const AnimationNode& a, const AnimationRange& ownA, const AnimationNode& b, const AnimationRange& ownB,
                 int meshCount) const;

  const WadDocument& left_;
  const WadDocument& right_;
  std::size_t leftPages_, rightPages_;
  AnimationLeads leftLeads_, rightLeads_;
  std::map<std::pair<std::int32_t, std::int32_t>, bool> meshes_;    // by the two mesh pointers
  std::map<std::pair<std::int16_t, std::int16_t>, bool> textures_;  // by face type and Texture word
};

}  // namespace tarnlow
