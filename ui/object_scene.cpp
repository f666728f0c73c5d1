#include "ui/object_scene.h"

#include <algorithm>
#include <variant>

#include "anim/frame_box.h"
#include "anim/key_frame.h"

namespace tarnlow::ui {

namespace {

Vec3 placed(const Transform* world, const MeshVector& v) {
  const tarnlow::Vec3 local{double(v.X), double(v.Y), double(v.Z)};
  const tarnlow::Vec3 p = world != nullptr ? Apply(*world, local) : local;
  return {p.x, p.y, p.z};
}

}  // namespace

std::vector<ObjectFace> ProjectObject(const ObjectModel& model, const std::vector<Transform>& world,
                                      const OrbitCamera& camera, const Viewport& viewport, Vec3 lightDirection) {
  std::vector<ObjectFace> faces;
  std::vector<ScreenPoint> projected;
  std::vector<Vec3> view;
  for (std::size_t j = 0; j < model.meshes.size(); ++j) {
    if (!model.meshes[j]) continue;
    const SceneMesh& scene = *model.meshes[j];
    const Transform* transform = j < world.size() ? &world[j] : nullptr;
    projected.clear();
    view.clear();
    for (const MeshVector& v : scene.mesh.Vertices) {
      const Vec3 p = placed(transform, v);
      view.push_back(ToView(camera, p));
      projected.push_back(Project(camera, viewport, p));
    }
    for (std::size_t i = 0; i < scene.mesh.Faces.size(); ++i) {
      const MeshFace& face = scene.mesh.Faces[i];
      const std::size_t n = face.Vertices.size();
      if ((face.FaceType != MeshFace::kTriangle && face.FaceType != MeshFace::kQuad) || n < 3 || n > 4) continue;
      const bool inRange = std::all_of(face.Vertices.begin(), face.Vertices.end(), [&](std::int16_t k) {
        return k >= 0 && static_cast<std::size_t>(k) < projected.size();
      });
      if (!inRange) continue;
      ObjectFace out{.mesh = j, .face = i, .cornerCount = static_cast<int>(n)};
      Vec3 normal;
      for (std::size_t c = 0; c < n; ++c) {
        const auto k = static_cast<std::size_t>(face.Vertices[c]);
        out.corners[c] = projected[k];
        out.depth += projected[k].depth;
        normal = normal + Cross(view[k], view[static_cast<std::size_t>(face.Vertices[(c + 1) % n])]);
      }
      out.depth /= static_cast<double>(n);
      out.brightness = Brightness(normal, lightDirection);
      if (scene.textures[i]) out.texture = &*scene.textures[i];
      faces.push_back(out);
    }
  }
  std::stable_sort(faces.begin(), faces.end(), [](const ObjectFace& a, const ObjectFace& b) { return a.depth > b.depth; });
  return faces;
}

std::vector<Vec3> PosedVertices(const ObjectModel& model, const std::vector<Transform>& world) {
  std::vector<Vec3> points;
  for (std::size_t j = 0; j < model.meshes.size(); ++j) {
    if (!model.meshes[j]) continue;
    const Transform* transform = j < world.size() ? &world[j] : nullptr;
    for (const MeshVector& v : model.meshes[j]->mesh.Vertices) points.push_back(placed(transform, v));
  }
  return points;
}

std::vector<Vec3> AnimationExtent(const WadDocument& document, const DrawnObject& object, const AnimationNode& node) {
  const int keyFrames = node.keyFrameCount;
  if (keyFrames <= 0) return {};
  const int meshCount = static_cast<int>(object.skeleton.bones.size());
  const int step = std::max(1, (keyFrames + kFramedKeyFrames - 1) / kFramedKeyFrames);
  Box3 extent;
  std::optional<FigureBox> figure;  // made only when a stored box cannot be used
  const auto add = [&extent](const tarnlow::Vec3& p) { extent.add(p); };
  // The last key frame is always taken: a crawl or a fall ends farthest away.
  for (int k = 0;; k = std::min(k + step, keyFrames - 1)) {
    std::variant<KeyFrameRead, Finding> read = DecodeKeyFrame(document, node.index, k, meshCount);
    if (const auto* frame = std::get_if<KeyFrameRead>(&read)) {
      const BoundingBox& b = frame->frame.box;
      if (b.minX <= b.maxX && b.minY <= b.maxY && b.minZ <= b.maxZ) {
        add({double(b.minX), double(b.minY), double(b.minZ)});
        add({double(b.maxX), double(b.maxY), double(b.maxZ)});
      } else {
        if (!figure) figure.emplace(DrawnFigure(object));
        const Box3 posed = figure->of(frame->frame);
        if (!posed.empty()) {
          add(posed.min);
          add(posed.max);
        }
      }
    }
    if (k == keyFrames - 1) break;
  }
  if (extent.empty()) return {};
  return {{extent.min.x, extent.min.y, extent.min.z}, {extent.max.x, extent.max.y, extent.max.z}};
}

std::int64_t NamedKeyFrames(const WadDocument& document, std::size_t moveableIndex) {
  const AnimationRange range = ObjectAnimationRange(document, moveableIndex);
  std::int64_t total = 0;
  for (std::int64_t a = range.first; a < range.end; ++a) {
    const std::variant<int, Finding> count = KeyFrameCount(document.Animations[static_cast<std::size_t>(a)], a);
    if (const int* n = std::get_if<int>(&count)) total += *n;
  }
  return total;
}

std::array<ScreenEdge, 12> ProjectBoxEdges(const OrbitCamera& camera, const Viewport& viewport, Vec3 low, Vec3 high) {
  // Corner c takes high on the axes whose bit is set in c: 1 X, 2 Y, 4 Z.
  std::array<ScreenPoint, 8> corners;
  for (int c = 0; c < 8; ++c) {
    const Vec3 corner{(c & 1) ? high.x : low.x, (c & 2) ? high.y : low.y, (c & 4) ? high.z : low.z};
    corners[static_cast<std::size_t>(c)] = Project(camera, viewport, corner);
  }
  // An edge joins two corners that differ on one axis.
  std::array<ScreenEdge, 12> edges;
  std::size_t n = 0;
  for (int c = 0; c < 8; ++c) {
    for (const int axis : {1, 2, 4}) {
      if ((c & axis) == 0) edges[n++] = {corners[static_cast<std::size_t>(c)], corners[static_cast<std::size_t>(c | axis)]};
    }
  }
  return edges;
}

std::optional<std::array<double, 6>> TextureToScreen(const std::array<TexturePoint, 3>& texture,
                                                     const std::array<ScreenPoint, 3>& screen) {
  // Solve A * (t_i - t_0) = s_i - s_0 for the 2 x 2 matrix A.
  const double ax = texture[1].x - texture[0].x, ay = texture[1].y - texture[0].y;
  const double bx = texture[2].x - texture[0].x, by = texture[2].y - texture[0].y;
  const double det = ax * by - bx * ay;
  if (det == 0) return std::nullopt;
  const double px = screen[1].x - screen[0].x, py = screen[1].y - screen[0].y;
  const double qx = screen[2].x - screen[0].x, qy = screen[2].y - screen[0].y;
  const double m11 = (px * by - qx * ay) / det;  // d x' / d x
  const double m21 = (qx * ax - px * bx) / det;  // d x' / d y
  const double m12 = (py * by - qy * ay) / det;  // d y' / d x
  const double m22 = (qy * ax - py * bx) / det;  // d y' / d y
  return std::array<double, 6>{m11, m12, m21, m22, screen[0].x - m11 * texture[0].x - m21 * texture[0].y,
                               screen[0].y - m12 * texture[0].x - m22 * texture[0].y};
}

}  // namespace tarnlow::ui
