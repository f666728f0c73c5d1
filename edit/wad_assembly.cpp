#include "edit/wad_assembly.h"

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "anim/anim_commands.h"
#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "edit/texture_space.h"
#include "mesh/face_textures.h"
#include "mesh/mesh_decoder.h"
#include "mesh/mesh_encoder.h"
#include "parallel/parallel_for.h"
#include "wad/byte_writer.h"
#include "wad/wad_error.h"

namespace tarnlow {

namespace {

[[noreturn]] void refuse(const std::string& why) { throw WadError(kSubscriptOutOfRange, why); }

std::int16_t index16(std::size_t value, const char* what) {
  if (value > 32767) refuse(std::string("the result would need more than 32768 ") + what);
  return static_cast<std::int16_t>(value);
}

// Bytes [at, at + count) of a section, the part it does not hold as zeros.
void appendSlice(Bytes& out, const Bytes& stored, std::size_t at, std::size_t count) {
  const std::size_t held = at < stored.size() ? std::min(count, stored.size() - at) : 0;
  if (held > 0) {
    out.insert(out.end(), stored.begin() + static_cast<std::ptrdiff_t>(at), stored.begin() + static_cast<std::ptrdiff_t>(at + held));
  }
  out.resize(out.size() + count - held, 0);
}

// What one input WAD's layout says, worked out once per WAD.
struct SourceIndex {
  // Moveables with animations: their ranges, sorted by first animation.
  struct Range {
    std::int64_t first, end;
    std::size_t moveable;
  };
  std::vector<Range> ranges;
  std::vector<std::int32_t> frameOffsets;  // distinct animation frame offsets, ascending

  explicit SourceIndex(const WadDocument& d) {
    for (std::size_t m = 0; m < d.Moveables.size(); ++m) {
      const AnimationRange r = ObjectAnimationRange(d, m);
      if (r.end > r.first) ranges.push_back({r.first, r.end, m});
    }
    std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.first < b.first; });
    for (std::size_t a = 0; a < d.Animations.size(); ++a) frameOffsets.push_back(d.Animations[a].FrameOffset);
    std::sort(frameOffsets.begin(), frameOffsets.end());
    frameOffsets.erase(std::unique(frameOffsets.begin(), frameOffsets.end()), frameOffsets.end());
  }

  const Range* owner(std::int64_t animation) const {
    auto it = std::upper_bound(ranges.begin(), ranges.end(), animation,
                               [](std::int64_t a, const Range& r) { return a < r.first; });
    if (it == ranges.begin()) return nullptr;
    --it;
    return animation < it->end ? &*it : nullptr;
  }
};

class Assembler {
 public:
  Assembler(const WadDocument& target, const std::vector<AssemblyObject>& objects)
      : target_(target), objects_(objects) {}

  Assembly run() {
    order();
    prepareTextures();
    layOutAnimations();
    reserve();
    measureKeptMeshes();
    for (std::size_t i : order_) carry(i);
    return finish();
  }

 private:
  // Per object, as it is laid out in the result.
  struct Laid {
    AnimationRange range;        // in its own WAD
    std::int64_t newFirst = -1;  // its first animation in the result
  };

  const SourceIndex& indexOf(const WadDocument* d) {
    auto found = indexes_.find(d);
    if (found == indexes_.end()) found = indexes_.emplace(d, std::make_unique<SourceIndex>(*d)).first;
    return *found->second;
  }

  void order() {
    order_.resize(objects_.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
      const AssemblyObject& x = objects_[a];
      const AssemblyObject& y = objects_[b];
      if (x.isStatic != y.isStatic) return !x.isStatic;
      return x.slot < y.slot;
    });
    result_.counts.resize(objects_.size());
    result_.placed.resize(objects_.size());
    laid_.resize(objects_.size());
  }

  // Room for the key frames and meshes the result will hold, so that the
  // largest sections are not copied again each time they grow: the
  // target's whole, and for an object of another WAD its key frames from
  // its first animation's to the next object's, and its WAD's meshes.
  void reserve() {
    std::set<const WadDocument*> inputs;
    std::size_t frames = target_.Frames.byteSize(), meshes = target_.MeshData.size();
    for (std::size_t i = 0; i < objects_.size(); ++i) {
      const AssemblyObject& o = objects_[i];
      if (o.from == &target_) continue;
      if (inputs.insert(o.from).second) meshes += o.from->MeshData.size();
      const AnimationRange& range = laid_[i].range;
      if (o.isStatic || range.end <= range.first) continue;
      const std::int64_t bytes = static_cast<std::int64_t>(o.from->Frames.byteSize());
      const auto offset = [&](std::int64_t a) {
        const std::int64_t at = a < static_cast<std::int64_t>(o.from->Animations.size())
                                    ? o.from->Animations[static_cast<std::size_t>(a)].FrameOffset
                                    : bytes;
        return std::clamp<std::int64_t>(at, 0, bytes);
      };
      if (offset(range.end) > offset(range.first)) frames += static_cast<std::size_t>(offset(range.end) - offset(range.first));
    }
    frames_.reserve(frames);
    meshData_.reserve(meshes);
  }

  // The target's records stay at their indices unless some of them were
  // used only by objects the result leaves out: then those go and the rest
  // close up.
  void prepareTextures() {
    std::size_t targetMoveables = 0, targetStatics = 0;
    for (const AssemblyObject& o : objects_) {
      if (o.from == &target_) ++(o.isStatic ? targetStatics : targetMoveables);
    }
    const std::size_t infos = target_.TextInfo.size();
    targetTextures_.resize(infos);
    std::iota(targetTextures_.begin(), targetTextures_.end(), std::size_t{0});
    std::vector<TextInfoRecord> kept = target_.TextInfo.toVector();
    if (targetMoveables < target_.Moveables.size() || targetStatics < target_.StaticMeshes.size()) {
      std::vector<bool> usedByKept(infos), usedByAny(infos);
      std::vector<bool> keptMoveable(target_.Moveables.size()), keptStatic(target_.StaticMeshes.size());
      for (const AssemblyObject& o : objects_) {
        if (o.from == &target_) (o.isStatic ? keptStatic : keptMoveable)[o.position] = true;
      }
      const auto note = [&](std::int64_t pointer, bool kept) {
        MeasureMesh(target_, pointer, {}, [&](std::int16_t type, std::int16_t word) {
          const std::optional<std::size_t> info = TextureInfoIndex(type, word);
          if (!info || *info >= infos) return;
          usedByAny[*info] = true;
          if (kept) usedByKept[*info] = true;
        });
      };
      for (std::size_t m = 0; m < target_.Moveables.size(); ++m) {
        const MoveableRecord r = target_.Moveables[m];
        for (int j = 0; j < r.NumMeshes; ++j) note(std::int64_t{r.StartingMesh} + j, keptMoveable[m]);
      }
      for (std::size_t s = 0; s < target_.StaticMeshes.size(); ++s) {
        note(staticMeshOf(target_, s), keptStatic[s]);
      }
      kept.clear();
      for (std::size_t i = 0; i < infos; ++i) {
        if (usedByAny[i] && !usedByKept[i]) {
          targetTextures_[i] = kDropped;
          targetTexturesChange_ = true;
          continue;
        }
        targetTextures_[i] = kept.size();
        kept.push_back(target_.TextInfo[i]);
      }
    }
    Bytes rows = padded(target_.TextData);
    if (targetTexturesChange_) {
      // Pages at the end that no record names any more go with them.
      std::size_t pages = 1;
      for (const TextInfoRecord& record : kept) pages = std::max<std::size_t>(pages, DecodeTextureInfo(record).Page + 1u);
      rows.resize(std::min(rows.size(), pages * 256 * TextureRow::kFileSize));
    }
    textures_ = std::make_unique<TextureSpace>(std::move(kept), std::move(rows));
  }

  static Bytes padded(const RecordArray<TextureRow>& rows) {
    Bytes bytes = rows.storedBytes();
    bytes.resize(rows.byteSize(), 0);
    return bytes;
  }

  static std::int64_t staticMeshOf(const WadDocument& d, std::size_t s) {
    const StaticMeshRecord r = d.StaticMeshes[s];
    return static_cast<std::int16_t>(r.Bytes[4] | (r.Bytes[5] << 8));
  }

  // The target's meshes that keep their words, measured and hashed side by
  // side before they are laid out one after the other: most of a merge's
  // meshes are these.
  void measureKeptMeshes() {
    if (targetTexturesChange_) return;
    std::vector<std::pair<std::int32_t, std::int64_t>> meshes;  // pointer and a position holding it
    for (const AssemblyObject& o : objects_) {
      if (o.from != &target_) continue;
      const auto note = [&](std::int64_t position) {
        if (position >= 0 && static_cast<std::uint64_t>(position) < target_.MeshPointers.size()) {
          meshes.emplace_back(target_.MeshPointers[static_cast<std::size_t>(position)], position);
        }
      };
      if (o.isStatic) {
        note(staticMeshOf(target_, o.position));
        continue;
      }
      const MoveableRecord m = target_.Moveables[o.position];
      for (int j = 0; j < m.NumMeshes; ++j) note(static_cast<std::int16_t>(m.StartingMesh + j));
    }
    std::sort(meshes.begin(), meshes.end());
    meshes.erase(std::unique(meshes.begin(), meshes.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
                 meshes.end());
    std::vector<KeptMesh> measured(meshes.size());
    ParallelFor(meshes.size(), 0, [&](std::size_t k) {
      const auto extent = MeasureMesh(target_, meshes[k].second);
      if (const auto* whole = std::get_if<MeshExtent>(&extent)) {
        measured[k].bytes = whole->bytes;
        measured[k].hash = hashBytes(keptBytes(meshes[k].first, whole->bytes));
      }
    });
    for (std::size_t k = 0; k < meshes.size(); ++k) kept_.emplace(meshes[k].first, measured[k]);
  }

  // A kept mesh's bytes as the result stores them: padded to 4 bytes.
  Bytes keptBytes(std::int32_t pointer, std::size_t length) const {
    Bytes bytes;
    appendSlice(bytes, target_.MeshData, static_cast<std::size_t>(pointer), length);
    while (bytes.size() % 4 != 0) bytes.push_back(0);
    return bytes;
  }

  void layOutAnimations() {
    std::int64_t next = 0;
    for (std::size_t i : order_) {
      const AssemblyObject& o = objects_[i];
      if (o.isStatic) continue;
      if (o.position >= o.from->Moveables.size()) refuse(o.label + " is not an object of its WAD");
      laid_[i].range = ObjectAnimationRange(*o.from, o.position);
      if (laid_[i].range.end > laid_[i].range.first) laid_[i].newFirst = next;
      next += laid_[i].range.end - laid_[i].range.first;
    }
    animationTotal_ = next;
    if (animationTotal_ > 32767) refuse("the result would hold more than 32768 animations");
  }

  // The result's object that an animation of `from`'s moveable `m` now
  // belongs to: the same object when it came along, else the result's
  // object in its slot.
  std::optional<std::size_t> resultObjectFor(const WadDocument* from, std::size_t m) const {
    for (std::size_t i = 0; i < objects_.size(); ++i) {
      if (objects_[i].from == from && !objects_[i].isStatic && objects_[i].position == m) return i;
    }
    const std::int32_t slot = from->Moveables[m].ObjectID;
    for (std::size_t i : order_) {
      if (!objects_[i].isStatic && objects_[i].slot == slot) return i;
    }
    return std::nullopt;
  }

  std::int16_t mapAnimation(std::size_t i, std::int64_t animation, std::int64_t ownAnimation, const char* what) {
    const AssemblyObject& o = objects_[i];
    const Laid& l = laid_[i];
    if (animation >= l.range.first && animation < l.range.end) {
      return static_cast<std::int16_t>(l.newFirst + animation - l.range.first);
    }
    const std::string where = o.label + " animation " + std::to_string(ownAnimation - l.range.first);
    const SourceIndex::Range* owner = indexOf(o.from).owner(animation);
    if (owner == nullptr) {
      // A reference to no object's animation (real WADs have them) must
      // still lead nowhere: past the end stays as far past the result's end.
      if (animation < 0) return static_cast<std::int16_t>(animation);
      const std::int64_t past = std::max<std::int64_t>(0, animation - static_cast<std::int64_t>(o.from->Animations.size()));
      if (animationTotal_ + past > 32767) refuse(where + ": its " + what + " " + std::to_string(animation) + " cannot lead past the result's animations");
      return static_cast<std::int16_t>(animationTotal_ + past);
    }
    const std::int64_t k = animation - owner->first;
    const std::int32_t slot = o.from->Moveables[owner->moveable].ObjectID;
    const std::optional<std::size_t> into = resultObjectFor(o.from, owner->moveable);
    if (!into || laid_[*into].range.end - laid_[*into].range.first <= k) {
      refuse(where + " leads into animation " + std::to_string(k) + " of slot " + std::to_string(slot) +
             ", which the result lacks");
    }
    return static_cast<std::int16_t>(laid_[*into].newFirst + k);
  }

  std::int16_t repointFace(std::size_t i, std::int16_t type, std::int16_t word) {
    const std::optional<std::size_t> info = TextureInfoIndex(type, word);
    if (!info) return word;
    const AssemblyObject& o = objects_[i];
    std::size_t to = 0;
    if (o.from == &target_) {
      // A face naming a record the target lacks keeps its word: it was
      // drawn flat and still is.
      if (*info >= targetTextures_.size()) return word;
      to = targetTextures_[*info];
      if (to == kDropped) refuse(o.label + ": texture record " + std::to_string(*info) + " went with an object left out");
    } else {
      const auto key = std::pair(o.from, *info);
      auto found = placedTextures_.find(key);
      if (found == placedTextures_.end()) {
        std::string why;
        const std::optional<TextureSpace::Placed> placed = textures_->place(*o.from, *info, why);
        if (!placed) refuse(o.label + ": " + why);
        found = placedTextures_.emplace(key, *placed).first;
        ++(placed->shared ? result_.counts[i].rectanglesShared : result_.counts[i].rectanglesNew);
      }
      to = found->second.index;
    }
    if (type == MeshFace::kQuad) {
      if (to > 32767 || (word < 0 && to == 0)) refuse(o.label + ": texture record " + std::to_string(to) + " cannot be named by a quad");
      return static_cast<std::int16_t>(word < 0 ? -static_cast<int>(to) : static_cast<int>(to));
    }
    if (to > 0x1FFF) refuse(o.label + ": texture record " + std::to_string(to) + " cannot be named by a triangle");
    return static_cast<std::int16_t>((static_cast<std::uint16_t>(word) & 0xE000) | to);
  }

  // The result's mesh pointer for pointer position `pointer` of the object.
  std::int32_t carryMesh(std::size_t i, std::int64_t pointer) {
    const AssemblyObject& o = objects_[i];
    const WadDocument& d = *o.from;
    if (pointer < 0 || static_cast<std::uint64_t>(pointer) >= d.MeshPointers.size()) {
      refuse(o.label + ": mesh position " + std::to_string(pointer) + " is outside the mesh pointers");
    }
    const auto key = std::pair(o.from, d.MeshPointers[static_cast<std::size_t>(pointer)]);
    if (const auto found = meshAt_.find(key); found != meshAt_.end()) {
      ++result_.counts[i].meshesShared;
      return found->second;
    }
    Bytes bytes;
    std::uint64_t hash = 0;
    const auto keptMesh = o.from == &target_ && !targetTexturesChange_ ? kept_.find(key.second) : kept_.end();
    if (keptMesh != kept_.end() && keptMesh->second.bytes) {
      bytes = keptBytes(key.second, *keptMesh->second.bytes);
      hash = keptMesh->second.hash;
    } else {
      const auto extent = MeasureMesh(d, pointer);
      if (std::holds_alternative<MeshFailure>(extent)) {
        bytes = unreadableMesh(i, key.second);
      } else {
        MeshRecord mesh = std::get<MeshRecord>(ReadMesh(d, pointer));
        for (MeshFace& face : mesh.Faces) face.Texture = repointFace(i, face.FaceType, face.Texture);
        bytes = EncodeMesh(mesh);
      }
      while (bytes.size() % 4 != 0) bytes.push_back(0);
      hash = hashBytes(bytes);
    }
    std::int32_t at = -1;
    for (std::int32_t candidate : meshByHash_[hash]) {
      if (meshData_.size() - static_cast<std::size_t>(candidate) >= bytes.size() &&
          std::equal(bytes.begin(), bytes.end(), meshData_.begin() + candidate)) {
        at = candidate;
        break;
      }
    }
    if (at >= 0) {
      ++result_.counts[i].meshesShared;
    } else {
      if (meshData_.size() + bytes.size() > std::size_t{std::numeric_limits<std::int32_t>::max()}) {
        refuse("the result's mesh data would pass 2 GiB");
      }
      at = static_cast<std::int32_t>(meshData_.size());
      meshData_.insert(meshData_.end(), bytes.begin(), bytes.end());
      meshByHash_[hash].push_back(at);
      ++result_.counts[i].meshesNew;
    }
    meshAt_.emplace(key, at);
    return at;
  }

  // A mesh that does not decode keeps its bytes up to the next mesh of its
  // WAD, so that it fails alike where it lands.
  Bytes unreadableMesh(std::size_t i, std::int32_t offset) {
    const WadDocument& d = *objects_[i].from;
    if (offset < 0 || static_cast<std::size_t>(offset) >= d.MeshData.size()) {
      refuse(objects_[i].label + ": mesh pointer " + std::to_string(offset) + " lies outside the mesh data");
    }
    std::size_t end = d.MeshData.size();
    for (std::size_t p = 0; p < d.MeshPointers.size(); ++p) {
      const std::int32_t other = d.MeshPointers[p];
      if (other > offset && static_cast<std::size_t>(other) < end) end = static_cast<std::size_t>(other);
    }
    Bytes bytes;
    appendSlice(bytes, d.MeshData, static_cast<std::size_t>(offset), end - static_cast<std::size_t>(offset));
    return bytes;
  }

  static std::uint64_t hashBytes(const Bytes& bytes) {
    return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

  std::int16_t carryMeshes(std::size_t i, std::int64_t starting, int count) {
    if (count <= 0) return 0;
    index16(pointers_.size() + static_cast<std::size_t>(count) - 1, "mesh pointers");
    const std::size_t start = pointers_.size();
    // Mesh positions are 16-bit sums, as the game adds them.
    for (int j = 0; j < count; ++j) pointers_.push_back(carryMesh(i, static_cast<std::int16_t>(starting + j)));
    return static_cast<std::int16_t>(start);
  }

  void carry(std::size_t i) {
    const AssemblyObject& o = objects_[i];
    const WadDocument& d = *o.from;
    if (o.isStatic) {
      if (o.position >= d.StaticMeshes.size()) refuse(o.label + " is not a static of its WAD");
      StaticMeshRecord r = d.StaticMeshes[o.position];
      const std::int16_t mesh = carryMeshes(i, staticMeshOf(d, o.position), 1);
      Bytes head;
      ByteWriter w(head);
      w.i32(o.slot);
      w.i16(mesh);
      std::copy(head.begin(), head.end(), r.Bytes.begin());
      result_.placed[i] = statics_.size();
      statics_.push_back(r);
      return;
    }
    MoveableRecord m = d.Moveables[o.position];
    m.ObjectID = o.slot;
    m.StartingMesh = carryMeshes(i, m.StartingMesh, m.NumMeshes);
    m.MeshTree = carryTree(i, m);
    m.Unknown3 = carryAnimations(i);
    result_.placed[i] = moveables_.size();
    moveables_.push_back(m);
  }

  std::int32_t carryTree(std::size_t i, const MoveableRecord& m) {
    if (m.NumMeshes <= 1) return 0;
    const WadDocument& d = *objects_[i].from;
    const std::size_t links = 4 * (static_cast<std::size_t>(m.NumMeshes) - 1);
    if (m.MeshTree < 0 || static_cast<std::size_t>(m.MeshTree) + links > d.MeshTrees.size()) {
      refuse(objects_[i].label + ": its mesh tree lies outside MeshTrees");
    }
    const auto at = static_cast<std::int32_t>(trees_.size());
    for (std::size_t w = 0; w < links; ++w) trees_.push_back(d.MeshTrees[static_cast<std::size_t>(m.MeshTree) + w]);
    trees_.insert(trees_.end(), 3, 0);
    return at;
  }

  // The key-frame block of animation `r`: up to the next animation's frames
  // (some animations store more key frames than they play), or further when
  // its own key frames run on into the next block, as the game reads them;
  // never past the end of Frames.
  std::int32_t carryFrames(std::size_t i, const AnimationRecord& r, std::map<std::int32_t, std::int32_t>& moved) {
    const std::int32_t offset = r.FrameOffset;
    if (const auto found = moved.find(offset); found != moved.end()) return found->second;
    const WadDocument& d = *objects_[i].from;
    const std::size_t bytes = d.Frames.byteSize();
    if (offset < 0 || offset % 2 != 0 || static_cast<std::size_t>(offset) > bytes) {
      refuse(objects_[i].label + ": frame offset " + std::to_string(offset) + " is not a word of Frames");
    }
    const std::vector<std::int32_t>& offsets = indexOf(&d).frameOffsets;
    const auto next = std::upper_bound(offsets.begin(), offsets.end(), offset);
    std::size_t end = next == offsets.end() ? bytes : static_cast<std::size_t>(*next);
    const auto keys = KeyFrameCount(r, 0);
    if (const int* count = std::get_if<int>(&keys); count != nullptr && *count > 0) {
      // The last key frame is read whole: box, offset and up to two words
      // per mesh turn, even where FrameSize says less.
      const std::size_t meshes = static_cast<std::size_t>(std::max<int>(0, d.Moveables[objects_[i].position].NumMeshes));
      const std::size_t words = (static_cast<std::size_t>(*count) - 1) * r.FrameSize + std::max<std::size_t>(r.FrameSize, 9 + 2 * meshes);
      end = std::max(end, static_cast<std::size_t>(offset) + 2 * words);
    }
    end = std::min(end, bytes);
    if (frames_.size() > std::size_t{std::numeric_limits<std::int32_t>::max()} - (end - static_cast<std::size_t>(offset))) {
      refuse("the result's key frames would pass 2 GiB");
    }
    const auto at = static_cast<std::int32_t>(frames_.size());
    appendSlice(frames_, d.Frames.storedBytes(), static_cast<std::size_t>(offset), end - static_cast<std::size_t>(offset));
    moved.emplace(offset, at);
    return at;
  }

  std::array<std::uint8_t, 6> carryAnimations(std::size_t i) {
    const AssemblyObject& o = objects_[i];
    const WadDocument& d = *o.from;
    const Laid& l = laid_[i];
    if (l.newFirst < 0) return WriteAnimationRef({0, -1});
    std::map<std::int32_t, std::int32_t> moved;
    const std::string label = o.label;
    for (std::int64_t a = l.range.first; a < l.range.end; ++a) {
      AnimationRecord r = d.Animations[static_cast<std::size_t>(a)];
      const std::string where = label + " animation " + std::to_string(a - l.range.first);
      r.FrameOffset = carryFrames(i, r, moved);
      r.NextAnimation = mapAnimation(i, r.NextAnimation, a, "next animation");
      r.StateChange = carryStateChanges(i, r, a, where);
      r.AnimCommands = carryCommands(i, r, where);
      animations_.push_back(r);
      ++result_.counts[i].animations;
    }
    const MoveableAnimationRef ref = ReadAnimationRef(d.Moveables[o.position]);
    const auto first = moved.find(ref.frameOffset);
    const std::int32_t offset = first != moved.end() ? first->second : animations_[static_cast<std::size_t>(l.newFirst)].FrameOffset;
    return WriteAnimationRef({offset, static_cast<std::int16_t>(l.newFirst)});
  }

  std::int16_t carryStateChanges(std::size_t i, const AnimationRecord& r, std::int64_t a, const std::string& where) {
    if (r.NumStateChanges <= 0) return 0;
    const WadDocument& d = *objects_[i].from;
    if (r.StateChange < 0 || std::size_t(r.StateChange) + std::size_t(r.NumStateChanges) > d.StateChanges.size()) {
      refuse(where + ": its state changes lie outside StateChanges");
    }
    const std::int16_t at = index16(stateChanges_.size(), "state changes");
    for (int s = 0; s < r.NumStateChanges; ++s) {
      StateChangeRecord change = d.StateChanges[static_cast<std::size_t>(r.StateChange + s)];
      if (change.NumAnimDispatched > 0) {
        if (change.AnimDispatches < 0 ||
            std::size_t(change.AnimDispatches) + std::size_t(change.NumAnimDispatched) > d.AnimDispatches.size()) {
          refuse(where + ": its dispatches lie outside AnimDispatches");
        }
        const std::int16_t first = index16(dispatches_.size(), "dispatches");
        for (int k = 0; k < change.NumAnimDispatched; ++k) {
          AnimDispatchRecord dispatch = d.AnimDispatches[static_cast<std::size_t>(change.AnimDispatches + k)];
          dispatch.NextAnimation = mapAnimation(i, dispatch.NextAnimation, a, "dispatch");
          dispatches_.push_back(dispatch);
        }
        change.AnimDispatches = first;
      } else {
        change.AnimDispatches = 0;
      }
      stateChanges_.push_back(change);
    }
    index16(stateChanges_.size() - 1, "state changes");
    return at;
  }

  std::int16_t carryCommands(std::size_t i, const AnimationRecord& r, const std::string& where) {
    if (r.AnimCommandCount <= 0) return 0;
    const WadDocument& d = *objects_[i].from;
    const std::int16_t at = index16(commands_.size(), "command words");
    std::size_t word = r.AnimCommands < 0 ? d.AnimCommands.size() : static_cast<std::size_t>(r.AnimCommands);
    for (int c = 0; c < r.AnimCommandCount; ++c) {
      if (word >= d.AnimCommands.size()) refuse(where + ": its commands run past AnimCommands");
      const std::int16_t type = d.AnimCommands[word];
      const int operands = AnimCommandOperandCount(type);
      if (operands < 0) refuse(where + ": command type " + std::to_string(type) + " is unknown");
      if (word + 1 + static_cast<std::size_t>(operands) > d.AnimCommands.size()) {
        refuse(where + ": its commands run past AnimCommands");
      }
      for (int w = 0; w <= operands; ++w) commands_.push_back(d.AnimCommands[word + static_cast<std::size_t>(w)]);
      if (type == kPlaySound) result_.counts[i].soundSlots.insert(d.AnimCommands[word + 2] & 0x3FFF);
      word += 1 + static_cast<std::size_t>(operands);
    }
    return at;
  }

  // A section the target held that the result would leave empty gets one
  // zero record, which nothing refers to: the result then opens wherever
  // the target did, without the setting for empty sections.
  void keepSectionsHeld() {
    if (target_.NumMeshTrees > 0 && trees_.empty()) trees_.push_back(0);
    if (target_.NumAnimCommands > 0 && commands_.empty()) commands_.push_back(0);
    if (target_.NumStateChanges > 0 && stateChanges_.empty()) stateChanges_.push_back({});
    if (target_.NumAnimDispatches > 0 && dispatches_.empty()) dispatches_.push_back({});
    if (target_.NumFrames > 0 && frames_.empty()) frames_.resize(2, 0);
  }

  Assembly finish() {
    keepSectionsHeld();
    WadDocument& out = result_.document;
    out.Version = target_.Version;
    const auto set = [](std::int32_t& count, auto& array, const auto& records) {
      count = static_cast<std::int32_t>(records.size());
      using Array = std::remove_reference_t<decltype(array)>;
      array = Array::fromRecords(std::span(records));
    };
    set(out.NumTextInfo, out.TextInfo, textures_->infos());
    Bytes rows = textures_->takeRows();
    out.NumTextData = static_cast<std::int32_t>(rows.size());
    const std::size_t rowCount = rows.size() / TextureRow::kFileSize;
    out.TextData = RecordArray<TextureRow>(rowCount, std::move(rows));
    set(out.NumMeshPointers, out.MeshPointers, pointers_);
    out.NumMeshData = static_cast<std::int32_t>(meshData_.size() / 2);
    out.MeshData = std::move(meshData_);
    set(out.NumAnimations, out.Animations, animations_);
    set(out.NumStateChanges, out.StateChanges, stateChanges_);
    set(out.NumAnimDispatches, out.AnimDispatches, dispatches_);
    set(out.NumAnimCommands, out.AnimCommands, commands_);
    set(out.NumMeshTrees, out.MeshTrees, trees_);
    const std::size_t frameWords = frames_.size() / 2;
    out.NumFrames = static_cast<std::int32_t>(frameWords);
    out.Frames = RecordArray<std::int16_t>(frameWords, std::move(frames_));
    set(out.NumMoveables, out.Moveables, moveables_);
    set(out.NumStaticMeshes, out.StaticMeshes, statics_);
    return std::move(result_);
  }

  static constexpr std::size_t kDropped = std::numeric_limits<std::size_t>::max();

  const WadDocument& target_;
  const std::vector<AssemblyObject>& objects_;
  std::vector<std::size_t> order_;
  std::vector<Laid> laid_;
  std::map<const WadDocument*, std::unique_ptr<SourceIndex>> indexes_;
  std::int64_t animationTotal_ = 0;

  std::vector<std::size_t> targetTextures_;  // target record -> result record, or kDropped
  bool targetTexturesChange_ = false;
  std::unique_ptr<TextureSpace> textures_;
  std::map<std::pair<const WadDocument*, std::size_t>, TextureSpace::Placed> placedTextures_;

  struct KeptMesh {
    std::optional<std::size_t> bytes;  // its length; nothing when it does not measure
    std::uint64_t hash = 0;            // of its bytes as stored in the result
  };
  std::unordered_map<std::int32_t, KeptMesh> kept_;  // by the target's mesh pointer
  std::map<std::pair<const WadDocument*, std::int32_t>, std::int32_t> meshAt_;
  std::unordered_map<std::uint64_t, std::vector<std::int32_t>> meshByHash_;
  Bytes meshData_;
  std::vector<std::int32_t> pointers_;
  std::vector<std::int32_t> trees_;
  std::vector<AnimationRecord> animations_;
  std::vector<StateChangeRecord> stateChanges_;
  std::vector<AnimDispatchRecord> dispatches_;
  std::vector<std::int16_t> commands_;
  Bytes frames_;
  std::vector<MoveableRecord> moveables_;
  std::vector<StaticMeshRecord> statics_;
  Assembly result_;
};

}  // namespace

Assembly AssembleWad(const WadDocument& target, const std::vector<AssemblyObject>& objects) {
  return Assembler(target, objects).run();
}

}  // namespace tarnlow
