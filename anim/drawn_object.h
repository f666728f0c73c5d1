#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "anim/animation_frames.h"
#include "anim/animation_graph.h"
#include "anim/finding.h"
#include "anim/skeleton.h"
#include "mesh/object_model.h"
#include "wad/wad_document.h"

namespace tarnlow {

inline constexpr std::int32_t kLaraId = 0;
inline constexpr std::int32_t kLaraSkinId = 8;
// The rule of the note that an object of placeholders only is drawn as
// stored because its stored boxes fit neither its meshes nor LARA_SKIN's:
// the game draws it from its own code, or the slot is a stand-in. The check
// does not judge such an object's boxes.
inline constexpr const char* kPlaceholderFigureRule = "placeholder-figure";

// Where a drawn mesh comes from.
enum class MeshSource {
  Own,       // the object's own mesh
  LaraSkin,  // the object's mesh is a placeholder; LARA_SKIN's mesh of the same number is drawn
};

// An object as the game draws it: its skeleton with the meshes it really
// uses, those meshes decoded with their faces' textures, its animations and
// everything found wrong on the way. The window, `pose` and the exporters
// all start from this.
struct DrawnObject {
  std::size_t moveable = 0;
  std::int32_t objectId = 0;
  // The object's own mesh tree. Bone j's meshPointer is the MeshPointers
  // position of the mesh drawn for mesh j (LARA_SKIN's where it lends one),
  // so posing the skeleton places the drawn meshes.
  Skeleton skeleton;
  std::vector<MeshSource> sources;  // one per mesh
  std::optional<std::size_t> skin;  // the LARA_SKIN moveable, when it lent any mesh
  ObjectModel model;                // model.meshes[j] is the drawn mesh j
  std::vector<std::size_t> pages;   // texture pages the faces show, ascending, each once
  AnimationGraph graph;
  // One per graph.animations entry: why that animation cannot be played as
  // stored. An error (no usable frame range, a key frame outside Frames or
  // larger than FrameSize) means its frames after the first cannot be
  // trusted: it is shown at key frame 0. A warning (its next animation is
  // not the object's) leaves its own frames alone.
  std::vector<std::optional<Finding>> animationProblems;
  // The skeleton's and the graph's findings, the placeholder note (see
  // DrawObject) and, when key frames were left unjudged, that note.
  std::vector<Finding> findings;
};

// The object of moveable `moveableIndex` as the game draws it, its stored
// key-frame boxes deciding what its placeholder meshes (pointer 0 or the
// placeholder shape) stand for: kept when the boxes fit them (a pointer 0
// can be a real mesh at offset 0); replaced by LARA_SKIN's mesh of the same
// number (unless that is a placeholder too) when the object has
// LARA_SKIN's mesh count and the boxes fit that figure; else kept, with a
// note (kPlaceholderFigureRule) when every mesh is a placeholder. Fails (with a finding about the Moveables record) only
// when the index is not a moveable or it has no meshes; every other fault is
// in `findings`, `animationProblems` or `model.problems`.
enum class DrawDepth {
  Whole,     // everything
  Skeleton,  // moveable, objectId, skeleton, sources, skin and the skeleton's findings only: for the check
};
std::variant<DrawnObject, Finding> DrawObject(const WadDocument& document, std::size_t moveableIndex,
                                              DrawDepth depth = DrawDepth::Whole);

// Why animation `node` of an object with `skeleton` cannot be played as
// stored (see DrawnObject::animationProblems), or nothing when it can: the
// first of the judge's findings, else a next animation outside the WAD
// (error) or not the object's (warning), in the check's words and rules.
// Never fails.
std::optional<Finding> AnimationProblem(const WadDocument& document, const Skeleton& skeleton,
                                        const AnimationNode& node, AnimationFrameJudge& judge);

// True when mesh position `meshPointer` holds a placeholder: a zero pointer
// (how the level tools leave Lara's meshes to LARA_SKIN; whatever lies at
// offset 0 is drawn in its place) or the placeholder shape. A position
// outside MeshPointers or a mesh that does not decode is not a placeholder.
bool IsPlaceholderMesh(const WadDocument& document, std::int64_t meshPointer);

}  // namespace tarnlow
