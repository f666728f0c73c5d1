#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "anim/finding.h"
#include "anim/key_frame.h"
#include "anim/skeleton.h"
#include "anim/transform.h"
#include "wad/wad_document.h"

namespace tarnlow {

// One mesh of a posed object.
struct MeshPose {
  std::int64_t meshPointer = -1;  // position in MeshPointers (StartingMesh + j)
  int parent = -1;                // index of the parent mesh in ObjectPose::meshes; -1 for the root
  Transform local;                // the mesh's turn in this frame
  Transform world;                // where the mesh stands: its vertices go through this
  // Set when this mesh cannot be shown: its pointer position lies outside
  // MeshPointers. The transform is still computed.
  std::optional<Finding> problem;
};

// A moveable standing in one frame of one of its animations.
struct ObjectPose {
  std::size_t moveable = 0;
  std::optional<std::int64_t> animation;  // nothing for the rest pose
  double frame = 0;                       // frame within the animation, 0 = its first
  BoundingBox box;                        // of the key frame before `frame`
  Vec3 rootOffset;
  std::vector<MeshPose> meshes;           // one per mesh of the object, in mesh order
  // Skeleton problems, and key frames that overran FrameSize. The pose is
  // whole regardless.
  std::vector<Finding> problems;
};

// Poses moveable `moveableIndex` at `frame` (0 = the animation's first
// frame; a fraction interpolates between its two key frames with a
// spherical blend of each mesh's rotation and a straight blend of the root
// offset) of animation `animation`, an index into Animations (any, though
// one of the object's own makes sense). Without an animation: the rest pose,
// every mesh unturned and the root at 0.
//
// Fails with a finding when the moveable has no skeleton (see
// BuildSkeleton), the animation does not exist or stores no frames, `frame`
// is below 0 or not below the frame count (a fraction past the last frame
// holds the last key frame), or a key frame cannot be decoded.
std::variant<ObjectPose, Finding> PoseObject(const WadDocument& document, std::size_t moveableIndex,
                                             std::optional<std::int64_t> animation, double frame);

// The same with a skeleton built before (BuildSkeleton), for callers that
// pose many frames of one object.
std::variant<ObjectPose, Finding> PoseSkeleton(const WadDocument& document, const Skeleton& skeleton,
                                               std::optional<std::int64_t> animation, double frame);

// A pose before the mesh tree places its meshes: each mesh's turn and where
// the root stands, what an exporter of animations needs.
struct LocalPose {
  std::vector<Transform> local;  // one per mesh of the skeleton
  Vec3 rootOffset;
  BoundingBox box;                 // of the key frame before `frame`
  std::vector<Finding> problems;   // key frames that overran FrameSize
};

// The turns of PoseSkeleton(document, skeleton, animation, frame), without
// placing the meshes; fails as it does, except on the skeleton.
std::variant<LocalPose, Finding> PoseLocally(const WadDocument& document, const Skeleton& skeleton,
                                             std::optional<std::int64_t> animation, double frame);

// The local turn of each mesh in key frame `frame` (missing meshes unturned).
std::vector<Transform> LocalTransforms(const KeyFrame& frame, std::size_t meshCount);

// Same, writing into `local`, for callers that pose many frames and keep one
// buffer.
void LocalTransformsInto(const KeyFrame& frame, std::size_t meshCount, std::vector<Transform>& local);

// The turn of each mesh blended between two key frames (t = 0 gives `a`,
// t = 1 gives `b`), by spherical interpolation.
std::vector<Transform> BlendLocalTransforms(const KeyFrame& a, const KeyFrame& b, double t, std::size_t meshCount);

}  // namespace tarnlow
