#include <algorithm>
#include <optional>
#include <string>

#include "content/content_pool.h"
#include "content/object_content.h"
#include "sound/sound_table.h"

namespace tarnlow {

namespace {

using Found = std::optional<std::string>;

std::string countsDiffer(const char* what, std::size_t a, std::size_t b) {
  return std::string(what) + ": " + std::to_string(a) + " against " + std::to_string(b);
}

// The first face whose pixels differ, for meshes of equal geometry.
Found firstPixelDifference(const MeshContent& a, const MeshContent& b) {
  for (std::size_t f = 0; f < a.pixels.size() && f < b.pixels.size(); ++f) {
    const auto& pa = a.pixels[f];
    const auto& pb = b.pixels[f];
    if (pa == pb) continue;
    if (!pa || !pb || !(*pa == *pb)) return "face " + std::to_string(f);
  }
  return std::nullopt;
}

// What in the geometry differs, or nothing.
Found firstGeometryDifference(const MeshContent& a, const MeshContent& b) {
  if (a.unreadable != b.unreadable) return std::string(a.unreadable ? "unreadable against readable" : "readable against unreadable");
  const MeshRecord& x = a.record;
  const MeshRecord& y = b.record;
  if (x.CentreX != y.CentreX || x.CentreY != y.CentreY || x.CentreZ != y.CentreZ || x.CollisionSize != y.CollisionSize) {
    return std::string("centre or collision size");
  }
  if (x.Vertices != y.Vertices || x.NumVertices != y.NumVertices) return std::string("vertices");
  if (x.NumNormals != y.NumNormals || x.Normals != y.Normals || x.Shades != y.Shades) return std::string("normals or shades");
  if (x.Faces.size() != y.Faces.size() || x.NumFaces != y.NumFaces) return countsDiffer("faces", x.Faces.size(), y.Faces.size());
  for (std::size_t f = 0; f < x.Faces.size(); ++f) {
    if (!(x.Faces[f] == y.Faces[f])) return "face " + std::to_string(f);
    // A face drawn flat against a textured one is a change of the face, not of a picture.
    if (static_cast<bool>(a.pixels[f]) != static_cast<bool>(b.pixels[f])) return "face " + std::to_string(f) + " texture";
  }
  return std::nullopt;
}

Found firstAnimationDifference(const AnimationContent& a, const AnimationContent& b) {
  if (a.StateID != b.StateID) return std::string("StateID");
  if (a.FrameRate != b.FrameRate) return std::string("FrameRate");
  if (a.Unknown1 != b.Unknown1 || a.Unknown2 != b.Unknown2) return std::string("speeds");
  if (a.FrameStart != b.FrameStart || a.FrameEnd != b.FrameEnd) return std::string("frames");
  if (!(a.next == b.next)) return std::string("NextAnimation");
  if (a.NextFrame != b.NextFrame) return std::string("NextFrame");
  if (a.stateChanges != b.stateChanges) return std::string("state changes");
  if (a.commands != b.commands) return std::string("commands");
  return std::nullopt;
}

Found firstPoseDifference(const AnimationContent& a, const AnimationContent& b) {
  // One block decodes to the same poses wherever it is used.
  if (a.keyFrames.block == b.keyFrames.block) return std::nullopt;
  if (a.keyFrames.size() != b.keyFrames.size()) return countsDiffer("key frames", a.keyFrames.size(), b.keyFrames.size());
  for (std::size_t k = 0; k < a.keyFrames.size(); ++k) {
    const auto& x = a.keyFrames[k];
    const auto& y = b.keyFrames[k];
    if (x == y) continue;
    std::string where = "key frame " + std::to_string(k);
    if (!x || !y) return where + (x ? " unreadable in the second" : " unreadable in the first");
    if (!(x->box == y->box)) return where + ", box";
    if (x->offset != y->offset) return where + ", offset";
    for (std::size_t m = 0; m < x->turns.size() && m < y->turns.size(); ++m) {
      if (x->turns[m] != y->turns[m]) return where + ", mesh " + std::to_string(m) + " turn";
    }
    return where + ", turn count";
  }
  return std::nullopt;
}

// Adds `part` with the first difference that `compare` finds between
// elements of the same position, else a difference of length when
// `countsToo`.
template <typename T, typename Compare>
void compareLists(std::vector<ContentDifference>& out, ContentPart part, const char* noun, const std::vector<T>& a,
                  const std::vector<T>& b, Compare compare, bool countsToo = true) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (Found found = compare(a[i], b[i])) {
      out.push_back({part, std::string(noun) + " " + std::to_string(i) + ": " + *found});
      return;
    }
  }
  if (countsToo && a.size() != b.size()) out.push_back({part, countsDiffer((std::string(noun) + "s").c_str(), a.size(), b.size())});
}

void compareMeshes(std::vector<ContentDifference>& out, const std::vector<std::shared_ptr<const MeshContent>>& a,
                   const std::vector<std::shared_ptr<const MeshContent>>& b) {
  // One mesh shared by both is equal to itself.
  compareLists(out, ContentPart::Meshes, "mesh", a, b, [](const auto& x, const auto& y) {
    return x == y ? std::nullopt : firstGeometryDifference(*x, *y);
  });
  // Pictures are compared on meshes whose faces match one for one.
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] == b[i] || firstGeometryDifference(*a[i], *b[i])) continue;
    if (Found found = firstPixelDifference(*a[i], *b[i])) {
      out.push_back({ContentPart::Textures, "mesh " + std::to_string(i) + ", " + *found});
      return;
    }
  }
}

}  // namespace

std::string_view Describe(ContentPart part) {
  switch (part) {
    case ContentPart::Meshes: return "meshes";
    case ContentPart::Textures: return "textures";
    case ContentPart::MeshTree: return "mesh tree";
    case ContentPart::Animations: return "animations";
    case ContentPart::KeyFrames: return "key frames";
    case ContentPart::Boxes: return "boxes";
    case ContentPart::Sounds: return "sounds";
  }
  return "content";
}

std::vector<ContentDifference> CompareContent(const ObjectContent& a, const ObjectContent& b) {
  std::vector<ContentDifference> out;
  compareMeshes(out, a.meshes, b.meshes);
  compareLists(out, ContentPart::MeshTree, "link", a.meshTree, b.meshTree, [](const MeshTreeLink& x, const MeshTreeLink& y) {
    if (x == y) return Found();
    if (!x || !y) return Found("outside MeshTrees in one");
    return Found((*x)[0] != (*y)[0] ? "flags" : "offset");
  });
  compareLists(out, ContentPart::Animations, "animation", a.animations, b.animations, firstAnimationDifference);
  // An animation more or less is told once, under animations.
  compareLists(out, ContentPart::KeyFrames, "animation", a.animations, b.animations, firstPoseDifference, false);
  for (const PlayedSlot& x : a.sounds) {
    const auto y = std::find_if(b.sounds.begin(), b.sounds.end(), [&](const PlayedSlot& p) { return p.slot == x.slot; });
    if (y != b.sounds.end() && (!x.entry || !y->entry ? x.entry != y->entry : !(*x.entry == *y->entry))) {
      out.push_back({ContentPart::Sounds, "slot " + std::to_string(x.slot) + (x.entry && y->entry ? "" : ", defined on one side only")});
      break;
    }
  }
  return out;
}

std::vector<ContentDifference> CompareContent(const StaticContent& a, const StaticContent& b) {
  std::vector<ContentDifference> out;
  compareMeshes(out, {a.mesh}, {b.mesh});
  const auto half = [](const StaticContent& s, std::size_t from) {
    return std::vector<std::int16_t>(s.boxes.begin() + static_cast<std::ptrdiff_t>(from),
                                     s.boxes.begin() + static_cast<std::ptrdiff_t>(from + 6));
  };
  if (half(a, 0) != half(b, 0)) out.push_back({ContentPart::Boxes, "visibility box"});
  else if (half(a, 6) != half(b, 6)) out.push_back({ContentPart::Boxes, "collision box"});
  else if (a.flags != b.flags) out.push_back({ContentPart::Boxes, "flags"});
  return out;
}

}  // namespace tarnlow
