#include "content/object_content.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <variant>

#include "anim/animation_graph.h"
#include "content/content_pool.h"
#include "content/face_pixels.h"
#include "mesh/face_textures.h"
#include "mesh/static_meshes.h"
#include "sound/play_sound.h"
#include "sound/sound_table.h"
#include "wad/texture_pages.h"

namespace tarnlow {

// Keeps what objects share: a mesh pointed at by several objects is
// decoded once, a face picture made once per Texture word.
class ContentReader::Impl {
 public:
  Impl(const WadDocument& document, const SoundTable* sounds, ContentPool* pool)
      : document_(document),
        sounds_(sounds),
        pool_(pool ? *pool : ownPool_),
        pageCount_(TexturePageCount(document.TextData)),
        leads_(document) {}

  ObjectContent moveable(std::size_t index) {
    const MoveableRecord record = document_.Moveables.at(index);
    ObjectContent content{.slot = record.ObjectID};
    const int meshCount = std::max<int>(record.NumMeshes, 0);
    for (int j = 0; j < meshCount; ++j) {
      content.meshes.push_back(meshAt(std::int64_t{record.StartingMesh} + j));
      if (j > 0) content.meshTree.push_back(MeshTreeLinkAt(document_, std::int64_t{record.MeshTree} + 4 * std::int64_t{j - 1}));
    }
    const std::variant<AnimationGraph, Finding> built = BuildAnimationGraph(document_, index);
    if (const auto* graph = std::get_if<AnimationGraph>(&built)) {
      for (const AnimationNode& node : graph->animations) content.animations.push_back(animation(node, graph->range, meshCount));
    }
    content.sounds = playedSlots(content.animations);
    return content;
  }

  const WadDocument& document() const { return document_; }

  StaticContent staticMesh(std::size_t index) {
    const StaticMeshEntry entry = ReadStaticMeshEntry(document_, index);
    const StaticMeshRecord record = document_.StaticMeshes[index];
    ByteReader r(record.Bytes, PastEnd::ReadsZero, 6);
    StaticContent content{.slot = entry.ObjectId, .mesh = meshAt(entry.Mesh)};
    for (std::int16_t& word : content.boxes) word = r.i16();
    content.flags = r.i16();
    return content;
  }

 private:
  std::shared_ptr<const MeshContent> meshAt(std::int64_t position) {
    if (position < 0 || static_cast<std::uint64_t>(position) >= document_.MeshPointers.size()) {
      static const auto missing = std::make_shared<const MeshContent>(MeshContent{.unreadable = MeshFailureKind::OutOfRange});
      return missing;
    }
    const std::int32_t pointer = document_.MeshPointers[static_cast<std::size_t>(position)];
    auto [at, added] = meshes_.try_emplace(pointer);
    if (added) at->second = decodeMesh(position);
    return at->second;
  }

  std::shared_ptr<const MeshContent> decodeMesh(std::int64_t position) {
    auto content = std::make_shared<MeshContent>();
    MeshResult<MeshRecord> read = ReadMesh(document_, position);
    if (const auto* failure = std::get_if<MeshFailure>(&read)) {
      content->unreadable = failure->kind;
      return content;
    }
    content->record = std::move(std::get<MeshRecord>(read));
    for (MeshFace& face : content->record.Faces) {
      content->pixels.push_back(pixelsOf(face));
      face.Texture = 0;
    }
    return content;
  }

  std::shared_ptr<const FacePixels> pixelsOf(const MeshFace& face) {
    const std::pair key{face.FaceType, face.Texture};
    if (const auto known = pictures_.find(key); known != pictures_.end()) return known->second;
    std::shared_ptr<const FacePixels> pixels;
    if (const std::optional<FaceTexture> texture = FaceTextureOf(face, document_.TextInfo, pageCount_)) {
      pixels = pool_.keep(std::make_shared<const FacePixels>(FacePixelsOf(document_.TextData, *texture)));
    }
    pictures_.emplace(key, pixels);
    return pixels;
  }

  std::vector<PlayedSlot> playedSlots(const std::vector<AnimationContent>& animations) const {
    std::map<int, PlayedSlot> slots;
    for (const AnimationContent& a : animations) {
      for (const CommandContent& c : a.commands) {
        if (c.type != kPlaySound || c.operands.size() < 2) continue;
        const int slot = PlayedSoundOf(c.operands[1]).slot;
        const SoundSlot* entry = sounds_ ? sounds_->find(slot) : nullptr;
        slots.try_emplace(slot, PlayedSlot{slot, entry ? std::make_shared<const SoundSlot>(*entry) : nullptr});
      }
    }
    std::vector<PlayedSlot> out;
    for (auto& [slot, played] : slots) out.push_back(std::move(played));
    return out;
  }

  // Animations that name the same key frames (thousands can) read their
  // words once.
  std::shared_ptr<const KeyFrameBlock> keyFrames(const AnimationRecord& a, int keyFrameCount, int meshCount) {
    auto [at, added] = blocks_.try_emplace(std::tuple(a.FrameOffset, a.FrameSize, keyFrameCount, meshCount));
    if (added) at->second = pool_.keep(std::make_shared<const KeyFrameBlock>(document_, a, keyFrameCount, meshCount));
    return at->second;
  }

  AnimationContent animation(const AnimationNode& node, const AnimationRange& own, int meshCount) {
    const AnimationRecord& a = node.record;
    AnimationContent content{.StateID = a.StateID,
                             .FrameRate = a.FrameRate,
                             .Unknown1 = a.Unknown1,
                             .Unknown2 = a.Unknown2,
                             .FrameStart = a.FrameStart,
                             .FrameEnd = a.FrameEnd,
                             .next = leads_.of(a.NextAnimation, own),
                             .NextFrame = a.NextFrame};
    for (const StateChangeEdge& change : node.stateChanges) {
      StateChangeContent state{.StateID = change.stateId};
      for (const DispatchEdge& d : change.dispatches) {
        state.dispatches.push_back({d.low, d.high, leads_.of(d.nextAnimation, own), d.nextFrame});
      }
      content.stateChanges.push_back(std::move(state));
    }
    for (const AnimCommand& command : node.commands) content.commands.push_back({command.type, command.operands});
    content.keyFrames.block = keyFrames(a, node.keyFrameCount, meshCount);
    return content;
  }

  const WadDocument& document_;
  const SoundTable* sounds_;
  ContentPool ownPool_;
  ContentPool& pool_;
  std::size_t pageCount_;
  AnimationLeads leads_;
  std::map<std::int32_t, std::shared_ptr<const MeshContent>> meshes_;  // by mesh pointer
  std::map<std::pair<std::int16_t, std::int16_t>, std::shared_ptr<const FacePixels>> pictures_;  // by type and Texture word
  std::map<std::tuple<std::int32_t, std::uint8_t, int, int>, std::shared_ptr<const KeyFrameBlock>> blocks_;
};

MeshTreeLink MeshTreeLinkAt(const WadDocument& document, std::int64_t word) {
  if (word < 0 || static_cast<std::uint64_t>(word) + 4 > document.MeshTrees.size()) return std::nullopt;
  std::array<std::int32_t, 4> words{};
  for (std::size_t k = 0; k < 4; ++k) words[k] = document.MeshTrees[static_cast<std::size_t>(word) + k];
  return words;
}

AnimationLeads::AnimationLeads(const WadDocument& document)
    : animationCount_(static_cast<std::int64_t>(document.Animations.size())) {
  for (std::size_t m = 0; m < document.Moveables.size(); ++m) {
    const AnimationRange range = ObjectAnimationRange(document, m);
    if (range.first < range.end) owners_.push_back({range, document.Moveables[m].ObjectID});
  }
}

AnimationTarget AnimationLeads::of(std::int64_t animation, const AnimationRange& own) const {
  if (animation >= own.first && animation < own.end) {
    return {.kind = AnimationTarget::Kind::ThisObject, .animation = animation - own.first};
  }
  for (const auto& [range, slot] : owners_) {
    if (animation >= range.first && animation < range.end) {
      return {.kind = AnimationTarget::Kind::OtherSlot, .slot = slot, .animation = animation - range.first};
    }
  }
  return {.kind = AnimationTarget::Kind::Nowhere,
          .animation = animation >= animationCount_ ? animation - animationCount_ : animation};
}

ContentReader::ContentReader(const WadDocument& document, const SoundTable* sounds, ContentPool* pool)
    : impl_(std::make_unique<Impl>(document, sounds, pool)) {}

ContentReader::~ContentReader() = default;

ObjectContent ContentReader::moveable(std::size_t index) {
  if (index >= impl_->document().Moveables.size()) throw std::out_of_range("no moveable " + std::to_string(index));
  return impl_->moveable(index);
}

StaticContent ContentReader::staticMesh(std::size_t index) {
  if (index >= impl_->document().StaticMeshes.size()) throw std::out_of_range("no static mesh " + std::to_string(index));
  return impl_->staticMesh(index);
}

std::size_t KeyFrames::size() const { return block ? block->poses().size() : 0; }

const std::optional<Pose>& KeyFrames::operator[](std::size_t k) const { return block->poses().at(k); }

ObjectContent MoveableContentOf(const WadDocument& document, std::size_t index, const SoundTable* sounds,
                                ContentPool* pool) {
  return ContentReader(document, sounds, pool).moveable(index);
}

StaticContent StaticContentOf(const WadDocument& document, std::size_t index, ContentPool* pool) {
  return ContentReader(document, nullptr, pool).staticMesh(index);
}

WadContent WadContentOf(const WadDocument& document, const SoundTable* sounds, ContentPool* pool) {
  ContentReader reader(document, sounds, pool);
  WadContent content;
  for (std::size_t m = 0; m < document.Moveables.size(); ++m) content.moveables.push_back(reader.moveable(m));
  for (std::size_t s = 0; s < document.StaticMeshes.size(); ++s) content.statics.push_back(reader.staticMesh(s));
  return content;
}

}  // namespace tarnlow
