#include "anim/frame_box.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "anim/pose.h"

namespace tarnlow {

void Box3::add(Vec3 p) {
  min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
  max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

std::optional<double> BoxDifference(const BoundingBox& stored, const Box3& posed) {
  if (stored.minX > stored.maxX || stored.minY > stored.maxY || stored.minZ > stored.maxZ) return std::nullopt;
  const double sides[6] = {double(stored.minX), double(stored.maxX), double(stored.minY),
                           double(stored.maxY), double(stored.minZ), double(stored.maxZ)};
  double worst = 0;
  if (posed.empty()) {
    for (double side : sides) worst = std::max(worst, std::abs(side));
    return worst;
  }
  const double ours[6] = {posed.min.x, posed.max.x, posed.min.y, posed.max.y, posed.min.z, posed.max.z};
  for (int i = 0; i < 6; ++i) worst = std::max(worst, std::abs(sides[i] - ours[i]));
  return worst;
}

std::vector<Vec3> MeshPoints(const MeshRecord& mesh) {
  std::vector<Vec3> points;
  points.reserve(mesh.Vertices.size());
  for (const MeshVector& v : mesh.Vertices) points.push_back({double(v.X), double(v.Y), double(v.Z)});
  return points;
}

FigureBox::FigureBox(const Skeleton& skeleton, const std::vector<std::vector<Vec3>>& meshVertices)
    : skeleton_(skeleton) {
  const std::size_t meshes = skeleton.bones.size();
  parts_.resize(meshes);
  for (std::size_t j = 0; j < meshes && j < meshVertices.size(); ++j) {
    Part& part = parts_[j];
    part.first = points_.size();
    points_.insert(points_.end(), meshVertices[j].begin(), meshVertices[j].end());
    part.end = points_.size();
    Box3 own;
    for (const Vec3& p : meshVertices[j]) own.add(p);
    if (own.empty()) continue;
    part.centre = {(own.min.x + own.max.x) / 2, (own.min.y + own.max.y) / 2, (own.min.z + own.max.z) / 2};
    part.half = {own.max.x - part.centre.x, own.max.y - part.centre.y, own.max.z - part.centre.z};
    for (const Vec3& p : meshVertices[j]) {
      const Vec3 d{p.x - part.centre.x, p.y - part.centre.y, p.z - part.centre.z};
      part.radius = std::max(part.radius, std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z));
    }
  }
}

void FigureBox::addPart(std::size_t j, Box3& box) const {
  const std::array<double, 9>& r = world_[j].rotation;
  const Vec3 t = world_[j].translation;
  for (std::size_t i = parts_[j].first; i < parts_[j].end; ++i) {
    const Vec3& v = points_[i];
    box.add({r[0] * v.x + r[1] * v.y + r[2] * v.z + t.x, r[3] * v.x + r[4] * v.y + r[5] * v.z + t.y,
             r[6] * v.x + r[7] * v.y + r[8] * v.z + t.z});
  }
}

void FigureBox::place(const KeyFrame& frame) {
  const std::size_t meshes = parts_.size();
  LocalTransformsInto(frame, meshes, local_);
  WorldTransformsInto(skeleton_, frame.offset, local_, world_);
  // Where each mesh's box centre stands, and how far its points can reach
  // from there along each axis: the lesser of the turned box and the sphere.
  centres_.resize(meshes);
  reach_.resize(meshes);
  added_.assign(meshes, 0);
  for (std::size_t j = 0; j < meshes; ++j) {
    const Part& part = parts_[j];
    const std::array<double, 9>& r = world_[j].rotation;
    centres_[j] = Apply(world_[j], part.centre);
    const Vec3 h = part.half;
    reach_[j] = {std::min(part.radius, std::abs(r[0]) * h.x + std::abs(r[1]) * h.y + std::abs(r[2]) * h.z),
                 std::min(part.radius, std::abs(r[3]) * h.x + std::abs(r[4]) * h.y + std::abs(r[5]) * h.z),
                 std::min(part.radius, std::abs(r[6]) * h.x + std::abs(r[7]) * h.y + std::abs(r[8]) * h.z)};
  }
}

bool FigureBox::reachesPast(std::size_t j, const Box3& box) const {
  const Vec3 c = centres_[j], e = reach_[j];
  return c.x - e.x < box.min.x || c.x + e.x > box.max.x || c.y - e.y < box.min.y || c.y + e.y > box.max.y ||
         c.z - e.z < box.min.z || c.z + e.z > box.max.z;
}

Box3 FigureBox::of(const KeyFrame& frame) {
  place(frame);
  const std::size_t meshes = parts_.size();
  Box3 box;
  const auto add = [&](std::size_t j) {
    if (added_[j] || parts_[j].first == parts_[j].end) return;
    added_[j] = 1;
    addPart(j, box);
  };
  // The meshes that may reach furthest along each side go first, so that
  // the box is nearly whole before the others are weighed against it.
  std::array<std::size_t, 6> best;
  best.fill(meshes);
  std::array<double, 6> furthest;
  furthest.fill(-1e300);
  for (std::size_t j = 0; j < meshes; ++j) {
    if (parts_[j].first == parts_[j].end) continue;
    const Vec3 c = centres_[j], e = reach_[j];
    const double along[6] = {e.x - c.x, c.x + e.x, e.y - c.y, c.y + e.y, e.z - c.z, c.z + e.z};
    for (std::size_t side = 0; side < 6; ++side) {
      if (along[side] > furthest[side]) std::tie(best[side], furthest[side]) = std::pair(j, along[side]);
    }
  }
  for (std::size_t j : best) {
    if (j < meshes) add(j);
  }
  for (std::size_t j = 0; j < meshes; ++j) {
    if (reachesPast(j, box)) add(j);
  }
  return box;
}

std::variant<FrameBoxes, Finding> FigureBox::keyFrameBoxes(const WadDocument& document, std::int64_t animation,
                                                          int keyFrame) {
  std::variant<KeyFrameRead, Finding> read =
      DecodeKeyFrame(document, animation, keyFrame, static_cast<int>(parts_.size()));
  if (auto* problem = std::get_if<Finding>(&read)) {
    problem->moveable = skeleton_.moveable;
    return std::move(*problem);
  }
  const KeyFrame& frame = std::get<KeyFrameRead>(read).frame;
  FrameBoxes boxes;
  boxes.stored = frame.box;
  boxes.posed = of(frame);
  boxes.difference = BoxDifference(boxes.stored, boxes.posed);
  return boxes;
}

FigureBox DrawnFigure(const DrawnObject& object) {
  std::vector<std::vector<Vec3>> vertices(object.model.meshes.size());
  for (std::size_t j = 0; j < vertices.size(); ++j) {
    if (object.model.meshes[j]) vertices[j] = MeshPoints(object.model.meshes[j]->mesh);
  }
  return FigureBox(object.skeleton, vertices);
}

std::variant<FrameBoxes, Finding> KeyFrameBoxes(const WadDocument& document, const DrawnObject& object,
                                                std::int64_t animation, int keyFrame) {
  return DrawnFigure(object).keyFrameBoxes(document, animation, keyFrame);
}

}  // namespace tarnlow
