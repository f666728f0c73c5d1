#include "content/stored_alike.h"

#include <algorithm>
#include <optional>
#include <set>
#include <variant>

#include "content/content_pool.h"
#include "mesh/face_textures.h"
#include "mesh/mesh_decoder.h"
#include "mesh/static_meshes.h"
#include "wad/texture_pages.h"

namespace tarnlow {

namespace {

// The faces' texture words of a mesh that measures whole within the bytes
// its WAD holds, and its length; nothing for any other.
struct MeasuredMesh {
  std::size_t bytes = 0;
  std::set<std::pair<std::int16_t, std::int16_t>> textures;  // face type and Texture word
};

std::optional<MeasuredMesh> measure(const WadDocument& d, std::int64_t position, std::int32_t pointer) {
  MeasuredMesh measured;
  const MeshResult<MeshExtent> extent =
      MeasureMesh(d, position, {}, [&](std::int16_t type, std::int16_t word) { measured.textures.emplace(type, word); });
  const auto* whole = std::get_if<MeshExtent>(&extent);
  if (whole == nullptr || pointer < 0 || static_cast<std::uint64_t>(pointer) + whole->bytes > d.MeshData.size()) {
    return std::nullopt;
  }
  measured.bytes = whole->bytes;
  return measured;
}

// The bytes of `rows` that the pixels of `texture` are read from, row by
// row as FacePixelsOf reads them; false when one lies outside the bytes held.
bool samePixels(const RecordArray<TextureRow>& left, const RecordArray<TextureRow>& right, const FaceTexture& texture) {
  const CornerBounds b = CornerBoundsOf(texture);
  const auto x0 = static_cast<long long>(b.left), x1 = static_cast<long long>(b.right);
  const auto y0 = static_cast<long long>(b.top), y1 = static_cast<long long>(b.bottom);
  if (x0 < 0 || y0 < 0 || x1 < x0 || y1 < y0) return false;
  const Bytes& l = left.storedBytes();
  const Bytes& r = right.storedBytes();
  for (long long y = y0; y < y1; ++y) {
    const auto row = static_cast<std::uint64_t>(texture.page) * TexturePage::kMaxHeight + static_cast<std::uint64_t>(y);
    const std::uint64_t begin = row * TextureRow::kFileSize + static_cast<std::uint64_t>(x0) * 3;
    const std::uint64_t end = row * TextureRow::kFileSize + static_cast<std::uint64_t>(x1) * 3;
    if (end > l.size() || end > r.size()) return false;
    if (!std::equal(l.begin() + static_cast<std::ptrdiff_t>(begin), l.begin() + static_cast<std::ptrdiff_t>(end),
                    r.begin() + static_cast<std::ptrdiff_t>(begin))) {
      return false;
    }
  }
  return true;
}

}  // namespace

StoredAlike::StoredAlike(const WadDocument& left, const WadDocument& right)
    : left_(left),
      right_(right),
      leftPages_(TexturePageCount(left.TextData)),
      rightPages_(TexturePageCount(right.TextData)),
      leftLeads_(left),
      rightLeads_(right) {}

bool StoredAlike::moveables(std::size_t a, std::size_t b) {
  if (a >= left_.Moveables.size() || b >= right_.Moveables.size()) return false;
  const MoveableRecord l = left_.Moveables[a];
  const MoveableRecord r = right_.Moveables[b];
  if (l.NumMeshes != r.NumMeshes) return false;
  for (int j = 0; j < l.NumMeshes; ++j) {
    if (!meshes(std::int64_t{l.StartingMesh} + j, std::int64_t{r.StartingMesh} + j)) return false;
  }
  return tree(l, r) && animations(a, b, std::max<int>(l.NumMeshes, 0));
}

bool StoredAlike::statics(std::size_t a, std::size_t b) {
  if (a >= left_.StaticMeshes.size() || b >= right_.StaticMeshes.size()) return false;
  const StaticMeshRecord l = left_.StaticMeshes[a];
  const StaticMeshRecord r = right_.StaticMeshes[b];
  // After the slot and the mesh: the two boxes and the flags.
  return std::equal(l.Bytes.begin() + 6, l.Bytes.end(), r.Bytes.begin() + 6) &&
         meshes(ReadStaticMeshEntry(left_, a).Mesh, ReadStaticMeshEntry(right_, b).Mesh);
}

bool StoredAlike::meshes(std::int64_t a, std::int64_t b) {
  const bool inLeft = a >= 0 && static_cast<std::uint64_t>(a) < left_.MeshPointers.size();
  const bool inRight = b >= 0 && static_cast<std::uint64_t>(b) < right_.MeshPointers.size();
  if (!inLeft || !inRight) return inLeft == inRight;  // both missing alike
  const std::int32_t pa = left_.MeshPointers[static_cast<std::size_t>(a)];
  const std::int32_t pb = right_.MeshPointers[static_cast<std::size_t>(b)];
  const auto [known, added] = meshes_.try_emplace({pa, pb}, false);
  if (!added) return known->second;
  // A mesh decodes from its bytes alone, one after the other, and stops at
  // its end: the right one, holding the same bytes, decodes as the left.
  const std::optional<MeasuredMesh> l = measure(left_, a, pa);
  if (!l || pb < 0 || static_cast<std::uint64_t>(pb) + l->bytes > right_.MeshData.size()) return false;
  const auto lb = left_.MeshData.begin() + pa;
  if (!std::equal(lb, lb + static_cast<std::ptrdiff_t>(l->bytes), right_.MeshData.begin() + pb)) return false;
  for (const auto& [type, word] : l->textures) {
    if (!texture(type, word)) return false;
  }
  known->second = true;
  return true;
}

bool StoredAlike::texture(std::int16_t type, std::int16_t word) {
  const auto [known, added] = textures_.try_emplace({type, word}, false);
  if (!added) return known->second;
  const MeshFace face{type, std::vector<std::int16_t>(type == MeshFace::kQuad ? 4 : 3), word};
  const std::optional<FaceTexture> l = FaceTextureOf(face, left_.TextInfo, leftPages_);
  const std::optional<FaceTexture> r = FaceTextureOf(face, right_.TextInfo, rightPages_);
  known->second = l == r && (!l || samePixels(left_.TextData, right_.TextData, *l));
  return known->second;
}

bool StoredAlike::tree(const MoveableRecord& a, const MoveableRecord& b) const {
  for (int j = 1; j < a.NumMeshes; ++j) {
    if (MeshTreeLinkAt(left_, std::int64_t{a.MeshTree} + 4 * std::int64_t{j - 1}) !=
        MeshTreeLinkAt(right_, std::int64_t{b.MeshTree} + 4 * std::int64_t{j - 1})) {
      return false;
    }
  }
  return true;
}

bool StoredAlike::animations(std::size_t a, std::size_t b, int meshCount) {
  const std::variant<AnimationGraph, Finding> l = BuildAnimationGraph(left_, a);
  const std::variant<AnimationGraph, Finding> r = BuildAnimationGraph(right_, b);
  const auto* lg = std::get_if<AnimationGraph>(&l);
  const auto* rg = std::get_if<AnimationGraph>(&r);
  if (!lg || !rg) return !lg && !rg;
  if (lg->animations.size() != rg->animations.size()) return false;
  for (std::size_t k = 0; k < lg->animations.size(); ++k) {
    if (!animation(lg->animations[k], lg->range, rg->animations[k], rg->range, meshCount)) return false;
  }
  return true;
}

bool StoredAlike::animation(const AnimationNode& a, const AnimationRange& ownA, const AnimationNode& b,
                            const AnimationRange& ownB, int meshCount) const {
  const AnimationRecord& x = a.record;
  const AnimationRecord& y = b.record;
  if (x.StateID != y.StateID || x.FrameRate != y.FrameRate || x.Unknown1 != y.Unknown1 || x.Unknown2 != y.Unknown2 ||
      x.FrameStart != y.FrameStart || x.FrameEnd != y.FrameEnd || x.NextFrame != y.NextFrame ||
      x.FrameSize != y.FrameSize || a.keyFrameCount != b.keyFrameCount ||
      leftLeads_.of(x.NextAnimation, ownA) != rightLeads_.of(y.NextAnimation, ownB) || a.stateChanges.size() != b.stateChanges.size() ||
      a.commands.size() != b.commands.size()) {
    return false;
  }
  for (std::size_t s = 0; s < a.stateChanges.size(); ++s) {
    const StateChangeEdge& p = a.stateChanges[s];
    const StateChangeEdge& q = b.stateChanges[s];
    if (p.stateId != q.stateId || p.dispatches.size() != q.dispatches.size()) return false;
    for (std::size_t d = 0; d < p.dispatches.size(); ++d) {
      const DispatchEdge& u = p.dispatches[d];
      const DispatchEdge& v = q.dispatches[d];
      if (u.low != v.low || u.high != v.high || u.nextFrame != v.nextFrame ||
          leftLeads_.of(u.nextAnimation, ownA) != rightLeads_.of(v.nextAnimation, ownB)) {
        return false;
      }
    }
  }
  for (std::size_t c = 0; c < a.commands.size(); ++c) {
    if (a.commands[c].type != b.commands[c].type || a.commands[c].operands != b.commands[c].operands) return false;
  }
  const auto wordsA = KeyFrameWords(left_, x, a.keyFrameCount, meshCount);
  const auto wordsB = KeyFrameWords(right_, y, b.keyFrameCount, meshCount);
  return wordsA && wordsB && std::equal(wordsA->begin(), wordsA->end(), wordsB->begin(), wordsB->end());
}

}  // namespace tarnlow
