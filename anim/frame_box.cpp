#include "anim/frame_box.h"

#include <algorithm>
#include <array>
#include <cmath>
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

Box3 PosedBox(const Skeleton& skeleton, const std::vector<std::vector<Vec3>>& meshVertices, const KeyFrame& frame) {
  const std::size_t meshes = skeleton.bones.size();
  std::vector<Transform> world;
  WorldTransformsInto(skeleton, frame.offset, LocalTransforms(frame, meshes), world);
  Box3 box;
  for (std::size_t j = 0; j < meshes && j < meshVertices.size(); ++j) {
    // Written out rather than through Apply: this loop is most of the
    // check's time on a big WAD.
    const std::array<double, 9>& r = world[j].rotation;
    const Vec3 t = world[j].translation;
    for (const Vec3& v : meshVertices[j]) {
      box.add({r[0] * v.x + r[1] * v.y + r[2] * v.z + t.x, r[3] * v.x + r[4] * v.y + r[5] * v.z + t.y,
               r[6] * v.x + r[7] * v.y + r[8] * v.z + t.z});
    }
  }
  return box;
}

std::variant<FrameBoxes, Finding> KeyFrameBoxes(const WadDocument& document, const DrawnObject& object,
                                                std::int64_t animation, int keyFrame) {
  const std::size_t meshes = object.skeleton.bones.size();
  std::variant<KeyFrameRead, Finding> read = DecodeKeyFrame(document, animation, keyFrame, static_cast<int>(meshes));
  if (auto* problem = std::get_if<Finding>(&read)) {
    problem->moveable = object.moveable;
    return std::move(*problem);
  }
  std::vector<std::vector<Vec3>> vertices(object.model.meshes.size());
  for (std::size_t j = 0; j < vertices.size(); ++j) {
    if (object.model.meshes[j]) vertices[j] = MeshPoints(object.model.meshes[j]->mesh);
  }
  const KeyFrame& frame = std::get<KeyFrameRead>(read).frame;
  FrameBoxes boxes;
  boxes.stored = frame.box;
  boxes.posed = PosedBox(object.skeleton, vertices, frame);
  boxes.difference = BoxDifference(boxes.stored, boxes.posed);
  return boxes;
}

}  // namespace tarnlow
