#pragma once

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "anim/drawn_object.h"
#include "anim/finding.h"
#include "anim/key_frame.h"
#include "anim/skeleton.h"
#include "anim/transform.h"
#include "wad/wad_document.h"

namespace tarnlow {

// How far a posed figure may lie from a key frame's stored box and still be
// the figure the box was made for: a custom outfit on the original
// animations lands a few units off; more means the figure is not what the
// game collides with.
inline constexpr double kBoxTolerance = 64;

// An axis-aligned box in WAD units. Empty (min above max) until a point is
// added.
struct Box3 {
  Vec3 min{1e300, 1e300, 1e300};
  Vec3 max{-1e300, -1e300, -1e300};
  bool empty() const { return min.x > max.x; }
  void add(Vec3 p);
};

// A key frame judged by the box the level tools stored in it: the stored
// box, the box of the drawn object posed in that key frame, and the largest
// of the six differences between their sides (0 when they agree). Nothing
// to judge by when the stored box is not a box (a minimum above its
// maximum): some tools leave such words in frames they did not compute.
struct FrameBoxes {
  BoundingBox stored;
  Box3 posed;
  std::optional<double> difference;
};

// The largest difference between the sides of `stored` and `posed`, or
// nothing when `stored` has a minimum above its maximum. An empty posed box
// is as far off as the stored box's largest side is from 0.
std::optional<double> BoxDifference(const BoundingBox& stored, const Box3& posed);

// The vertices of `mesh` as points in WAD units. Never fails.
std::vector<Vec3> MeshPoints(const MeshRecord& mesh);

// One figure's meshes made ready for measuring the box of many poses: the
// check judges every key frame of a WAD with it. Each mesh keeps a box and a
// sphere around its points, so that only the meshes that can reach past the
// box of the others have their points moved.
class FigureBox {
 public:
  // Mesh j of `skeleton` is the points meshVertices[j] (missing or empty
  // lists add nothing).
  FigureBox(const Skeleton& skeleton, const std::vector<std::vector<Vec3>>& meshVertices);

  // The box of the meshes standing in key frame `frame`; empty when no mesh
  // has points. Never fails.
  Box3 of(const KeyFrame& frame);

  // The boxes of key frame `keyFrame` of animation `animation` (an index
  // into Animations), the figure placed by it. Fails with a finding when the
  // key frame cannot be decoded (see DecodeKeyFrame).
  std::variant<FrameBoxes, Finding> keyFrameBoxes(const WadDocument& document, std::int64_t animation, int keyFrame);

 private:
  struct Part {
    std::size_t first = 0, end = 0;  // its points in points_
    Vec3 centre;                     // of the box around its points
    Vec3 half;                       // half the sides of that box
    double radius = 0;               // of the sphere around the centre that holds them
  };
  // Turns and places every mesh for `frame`: world_, centres_, reach_, and
  // added_ cleared.
  void place(const KeyFrame& frame);
  // True when mesh j's points may lie outside `box`.
  bool reachesPast(std::size_t j, const Box3& box) const;
  void addPart(std::size_t j, Box3& box) const;

  const Skeleton& skeleton_;  // must outlive the FigureBox
  std::vector<Part> parts_;
  std::vector<Vec3> points_;
  // Kept between calls so that a pose allocates nothing.
  std::vector<Transform> local_, world_;
  std::vector<Vec3> centres_, reach_;
  std::vector<char> added_;
};

// The figure of `object`: its skeleton with the meshes it draws (meshes
// that could not be decoded add nothing). It refers to `object`'s skeleton,
// so `object` must outlive it. Never fails.
FigureBox DrawnFigure(const DrawnObject& object);

// DrawnFigure(object).keyFrameBoxes(...), for one key frame; callers that
// judge many make the figure once.
std::variant<FrameBoxes, Finding> KeyFrameBoxes(const WadDocument& document, const DrawnObject& object,
                                                std::int64_t animation, int keyFrame);

}  // namespace tarnlow
