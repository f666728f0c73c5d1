#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "mesh/mesh_decoder.h"
#include "wad/mesh_record.h"
#include "wad/wad_document.h"

namespace tarnlow {

// Declared only: the sound table's header names a member `slots`, which
// Qt's keyword macro would eat in the window's files that include this one.
struct SoundSlot;
struct SoundTable;
class ContentPool;
class KeyFrameBlock;

// The pixels a textured face shows: its texture rectangle turned so that
// the face's first corner is the top-left pixel, the rectangle's side
// towards the face's second corner runs along each row and the side towards
// its last corner down the rows. Faces that show the same picture the same
// way have equal pixels wherever their rectangles lie and however their
// Texture words name them.
struct FacePixels {
  int width = 0;   // pixels along the face's first edge
  int height = 0;  // pixels along its last edge
  std::vector<std::uint8_t> rgb;  // width x height pixels, row after row
  std::uint64_t hash = 0;         // of the above, to tell most differences quickly
};
bool operator==(const FacePixels& a, const FacePixels& b);

// One mesh as the game draws it. `record` is the decoded mesh with every
// face's Texture word cleared: what the word named is in `pixels`.
struct MeshContent {
  std::optional<MeshFailureKind> unreadable;  // the mesh could not be decoded; the rest is empty
  MeshRecord record;
  // One per face: nothing for a face drawn flat (neither a quad nor a
  // triangle, or a texture record or page that does not exist).
  std::vector<std::shared_ptr<const FacePixels>> pixels;
};

// Where an animation leads (NextAnimation, a dispatch's target): animation k
// counted from the first of this object, or of the object in slot `slot`,
// or nowhere when the WAD-wide number is in no object's animations.
struct AnimationTarget {
  enum class Kind { ThisObject, OtherSlot, Nowhere };
  Kind kind = Kind::Nowhere;
  std::int32_t slot = 0;        // the owner's slot ID, for OtherSlot
  // k. For Nowhere, a number past the last animation counts from the end
  // (0 the first past it), so that a broken lead reads the same when
  // animations are added before it; any other the WAD-wide number as stored.
  std::int64_t animation = 0;
  friend bool operator==(const AnimationTarget&, const AnimationTarget&) = default;
};

struct DispatchContent {
  std::int16_t Low = 0, High = 0;
  AnimationTarget next;
  std::int16_t NextFrame = 0;
  friend bool operator==(const DispatchContent&, const DispatchContent&) = default;
};

struct StateChangeContent {
  std::int16_t StateID = 0;
  std::vector<DispatchContent> dispatches;
  friend bool operator==(const StateChangeContent&, const StateChangeContent&) = default;
};

struct CommandContent {
  std::int16_t type = 0;
  std::vector<std::int16_t> operands;  // frames count within the object's frames, as stored
  friend bool operator==(const CommandContent&, const CommandContent&) = default;
};

// A key frame as a pose: the box, where the root stands, and each mesh's
// turn as angles about X, Y and Z in 4096ths of a turn, however the turn
// was stored (a zero Z-only turn equals a zero X-only turn).
struct Pose {
  BoundingBox box;
  std::array<int, 3> offset{};
  std::vector<std::array<int, 3>> turns;
  friend bool operator==(const Pose&, const Pose&) = default;
};

// An animation's key frames as poses, decoded on first use (see
// KeyFrameBlock). Key frames stored in the same words share one block.
struct KeyFrames {
  std::shared_ptr<const KeyFrameBlock> block;
  std::size_t size() const;
  const std::optional<Pose>& operator[](std::size_t k) const;
};

// One animation of an object, without any WAD-wide index. FrameOffset and
// FrameSize only say where and how the key frames are stored: the poses
// stand for them.
struct AnimationContent {
  std::int16_t StateID = 0;
  std::uint8_t FrameRate = 0;
  std::array<std::uint8_t, 8> Unknown1{};
  std::array<std::uint8_t, 8> Unknown2{};
  std::int16_t FrameStart = 0, FrameEnd = 0;  // count within the object's frames, as stored
  AnimationTarget next;
  std::int16_t NextFrame = 0;
  std::vector<StateChangeContent> stateChanges;
  std::vector<CommandContent> commands;
  KeyFrames keyFrames;  // the key frames the animation plays
};

// A sound slot that an object's animations play, and how the sound table
// beside its WAD defines it (null when it does not, or without a table).
struct PlayedSlot {
  int slot = 0;
  std::shared_ptr<const SoundSlot> entry;
};

// One entry of an object's mesh tree: the flags word and the offset from
// the parent; nothing when the entry lies outside MeshTrees.
using MeshTreeLink = std::optional<std::array<std::int32_t, 4>>;

// Link `word` of MeshTrees and the three after it; nothing when they leave
// MeshTrees.
MeshTreeLink MeshTreeLinkAt(const WadDocument& document, std::int64_t word);

// Where animations of one WAD lead, as contents tell it: into the leading
// object's own animation k, into animation k of the object in another slot,
// or nowhere.
class AnimationLeads {
 public:
  explicit AnimationLeads(const WadDocument& document);
  // Where WAD-wide animation `animation` is, seen from an object whose
  // animations are `own`. Never fails.
  AnimationTarget of(std::int64_t animation, const AnimationRange& own) const;

 private:
  std::vector<std::pair<AnimationRange, std::int32_t>> owners_;  // animations of each object, and its slot
  std::int64_t animationCount_;
};

// A moveable as the game shows it, whatever positions its records hold.
// `slot` says where it stands and takes no part in comparing.
struct ObjectContent {
  std::int32_t slot = 0;
  std::vector<std::shared_ptr<const MeshContent>> meshes;  // mesh j of the object
  std::vector<MeshTreeLink> meshTree;                     // the link of mesh j + 1
  std::vector<AnimationContent> animations;               // from the object's first
  std::vector<PlayedSlot> sounds;                         // each slot once, in slot order
};

// A static mesh: its mesh, its two boxes (visibility then collision, each
// minimum and maximum X, Y, Z) and its flags. `slot` takes no part in
// comparing.
struct StaticContent {
  std::int32_t slot = 0;
  std::shared_ptr<const MeshContent> mesh;
  std::array<std::int16_t, 12> boxes{};
  std::int16_t flags = 0;
};

// Every object and static of a WAD, in the WAD's order.
struct WadContent {
  std::vector<ObjectContent> moveables;
  std::vector<StaticContent> statics;
};

// The content of moveable `index`, its sounds defined by `sounds` (the
// WAD's sound table; nullptr for none). Faults of the WAD (a mesh that
// cannot be decoded, a link outside MeshTrees, a key frame past Frames) are
// kept in the content as such, never thrown. Throws std::out_of_range when
// `index` is not a moveable. With `pool`, pictures and key frames equal to
// ones the pool holds are shared with them.
ObjectContent MoveableContentOf(const WadDocument& document, std::size_t index, const SoundTable* sounds = nullptr,
                                ContentPool* pool = nullptr);

// The content of static mesh `index`; likewise.
StaticContent StaticContentOf(const WadDocument& document, std::size_t index, ContentPool* pool = nullptr);

// Contents of one WAD's objects, asked for one at a time; each distinct
// mesh and face picture is decoded once for all of them. Keeps a reference
// to the document, which must outlive it.
class ContentReader {
 public:
  ContentReader(const WadDocument& document, const SoundTable* sounds = nullptr, ContentPool* pool = nullptr);
  ~ContentReader();
  ContentReader(const ContentReader&) = delete;
  ContentReader& operator=(const ContentReader&) = delete;

  // As MoveableContentOf and StaticContentOf, which throw alike.
  ObjectContent moveable(std::size_t index);
  StaticContent staticMesh(std::size_t index);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// Every object and static, each distinct mesh and face picture decoded
// once. Never fails.
WadContent WadContentOf(const WadDocument& document, const SoundTable* sounds = nullptr, ContentPool* pool = nullptr);

// The parts of content that two objects can differ in.
enum class ContentPart { Meshes, Textures, MeshTree, Animations, KeyFrames, Boxes, Sounds };

// "meshes", "textures", "mesh tree", "animations", "key frames", "boxes",
// "sounds".
std::string_view Describe(ContentPart part);

// One part in which two contents differ, and where the first difference
// lies: "mesh 2, face 7", "animation 4 (NextAnimation)".
struct ContentDifference {
  ContentPart part;
  std::string first;
};

// The parts in which `a` and `b` differ, in ContentPart order, one entry
// per part; empty when they hold the same content. Slots are not compared.
// A sound slot played on one side only is an animation's difference; the
// sounds part compares how the table defines the slots both play.
std::vector<ContentDifference> CompareContent(const ObjectContent& a, const ObjectContent& b);
std::vector<ContentDifference> CompareContent(const StaticContent& a, const StaticContent& b);

}  // namespace tarnlow
