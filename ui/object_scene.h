#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "anim/animation_graph.h"
#include "anim/drawn_object.h"
#include "anim/transform.h"
#include "mesh/object_model.h"
#include "ui/preview_math.h"
#include "wad/mesh_record.h"
#include "wad/wad_document.h"

// The maths behind the object view: an object's meshes decoded once, then
// placed by a pose's world transforms and projected as one set of faces.
// No Qt, so it is tested without a screen.
namespace tarnlow::ui {

// A face of the posed object as it will be painted.
struct ObjectFace {
  std::size_t mesh = 0;  // bone index
  std::size_t face = 0;  // in that mesh's Faces
  std::array<ScreenPoint, 4> corners{};
  int cornerCount = 0;   // 3 or 4
  double depth = 0;      // mean depth of the corners
  double brightness = 0;
  const FaceTexture* texture = nullptr;  // into the model; null for a flat face
};

// Every triangle and quad of every shown mesh, mesh j moved by world[j]
// (meshes without a transform stay where they are), projected and sorted
// far to near. Faces naming a missing vertex are left out.
std::vector<ObjectFace> ProjectObject(const ObjectModel& model, const std::vector<Transform>& world,
                                      const OrbitCamera& camera, const Viewport& viewport, Vec3 lightDirection = kViewLight);

// Every vertex of every shown mesh where the pose puts it: what the view
// fits itself to.
std::vector<Vec3> PosedVertices(const ObjectModel& model, const std::vector<Transform>& world);

// The two corners (low, high) of the box that holds `object` through every
// key frame of animation `node`: each key frame's stored box, or the figure
// posed in that key frame where the stored box has a minimum above its
// maximum. What the view frames, so that nothing leaves the picture while
// the animation plays. An animation of many key frames is sampled evenly
// (kFramedKeyFrames at most), which keeps a hostile file from stalling the
// window. Empty when no key frame can be read.
inline constexpr int kFramedKeyFrames = 1024;
std::vector<Vec3> AnimationExtent(const WadDocument& document, const DrawnObject& object, const AnimationNode& node);

// How many key frames the animations of moveable `moveableIndex` name
// together (an animation without a usable frame range names none): how
// long posing them all takes. 0 for an index that is not a moveable.
std::int64_t NamedKeyFrames(const WadDocument& document, std::size_t moveableIndex);

// The twelve edges of the axis-aligned box from `low` to `high`, projected:
// what the view draws to show a key frame's box beside the figure's.
using ScreenEdge = std::array<ScreenPoint, 2>;
std::array<ScreenEdge, 12> ProjectBoxEdges(const OrbitCamera& camera, const Viewport& viewport, Vec3 low, Vec3 high);

// The affine map that takes texture points t0, t1, t2 to screen points s0,
// s1, s2: x' = m[0] x + m[2] y + m[4], y' = m[1] x + m[3] y + m[5] (the
// order a painter's transform takes). Nothing when the texture points lie
// on one line.
std::optional<std::array<double, 6>> TextureToScreen(const std::array<TexturePoint, 3>& texture,
                                                     const std::array<ScreenPoint, 3>& screen);

}  // namespace tarnlow::ui
