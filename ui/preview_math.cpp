#include "ui/preview_math.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace tarnlow::ui {

namespace {

Vec3 toVec3(const MeshVector& v) { return {double(v.X), double(v.Y), double(v.Z)}; }

// Whether (x, y) lies in triangle a-b-c, and if so the depth there,
// interpolated across the triangle. Either winding is accepted.
std::optional<double> depthInTriangle(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c, double x,
                                      double y) {
  const double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
  if (area == 0) return std::nullopt;
  const double wa = ((b.x - x) * (c.y - y) - (c.x - x) * (b.y - y)) / area;
  const double wb = ((c.x - x) * (a.y - y) - (a.x - x) * (c.y - y)) / area;
  const double wc = 1.0 - wa - wb;
  // A hair of tolerance, so a point on an edge shared by two triangles
  // belongs to at least one of them.
  constexpr double kEdge = -1e-9;
  if (wa < kEdge || wb < kEdge || wc < kEdge) return std::nullopt;
  return wa * a.depth + wb * b.depth + wc * c.depth;
}

}  // namespace

double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

Vec3 Normalized(Vec3 v) {
  const double length = std::sqrt(Dot(v, v));
  return length > 0 ? v * (1.0 / length) : Vec3{};
}

void OrbitCamera::orbit(double yawDelta, double pitchDelta) {
  yaw = std::remainder(yaw + yawDelta, 2 * std::numbers::pi);
  pitch = std::clamp(pitch + pitchDelta, -kMaxPitch, kMaxPitch);
}

void OrbitCamera::zoom(double factor) {
  if (!(factor > 0)) return;
  distance = std::clamp(distance * factor, kMinDistance, kMaxDistance);
}

Vec3 ToView(const OrbitCamera& camera, Vec3 world) {
  const Vec3 p = world - camera.target;
  const double cy = std::cos(camera.yaw), sy = std::sin(camera.yaw);
  const Vec3 turned{p.x * cy - p.z * sy, p.y, p.x * sy + p.z * cy};
  const double cp = std::cos(camera.pitch), sp = std::sin(camera.pitch);
  return {turned.x, turned.y * cp - turned.z * sp, turned.y * sp + turned.z * cp};
}

Vec3 FromViewDirection(const OrbitCamera& camera, Vec3 view) {
  const double cp = std::cos(camera.pitch), sp = std::sin(camera.pitch);
  const Vec3 turned{view.x, view.y * cp + view.z * sp, -view.y * sp + view.z * cp};
  const double cy = std::cos(camera.yaw), sy = std::sin(camera.yaw);
  return {turned.x * cy + turned.z * sy, turned.y, -turned.x * sy + turned.z * cy};
}

OrbitCamera ZoomAt(OrbitCamera camera, const Viewport& viewport, double x, double y, double factor) {
  const double before = PixelsPerUnit(camera, viewport);
  const double oldDistance = camera.distance;
  camera.zoom(factor);
  if (!(before > 0) || camera.distance == oldDistance) return camera;
  // The point under the pointer lies `offset` from the target in view
  // space; the target moves toward it by the share the zoom took off.
  const Vec3 offset{(x - viewport.width / 2) / before, (y - viewport.height / 2) / before, 0};
  camera.target = camera.target + FromViewDirection(camera, offset * (1.0 - camera.distance / oldDistance));
  return camera;
}

OrbitCamera Pan(OrbitCamera camera, const Viewport& viewport, double dx, double dy) {
  const double scale = PixelsPerUnit(camera, viewport);
  if (!(scale > 0)) return camera;
  camera.target = camera.target - FromViewDirection(camera, Vec3{dx / scale, dy / scale, 0});
  return camera;
}

double PixelsPerUnit(const OrbitCamera& camera, const Viewport& viewport) {
  return std::min(viewport.width, viewport.height) / (2.0 * camera.distance);
}

ScreenPoint Project(const OrbitCamera& camera, const Viewport& viewport, Vec3 world) {
  const Vec3 v = ToView(camera, world);
  const double scale = PixelsPerUnit(camera, viewport);
  return {viewport.width / 2 + v.x * scale, viewport.height / 2 + v.y * scale, v.z};
}

OrbitCamera FitToView(OrbitCamera camera, const std::vector<MeshVector>& vertices, double margin) {
  std::vector<Vec3> points;
  points.reserve(vertices.size());
  for (const MeshVector& m : vertices) points.push_back(toVec3(m));
  return FitToPoints(camera, points, margin);
}

OrbitCamera FitToPoints(OrbitCamera camera, const std::vector<Vec3>& points, double margin) {
  if (points.empty()) {
    camera.target = {};
    return camera;
  }
  Vec3 low = points.front(), high = low;
  for (const Vec3& v : points) {
    low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
    high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
  }
  camera.target = (low + high) * 0.5;
  // The sphere around the box, not the box seen from this angle: the mesh
  // then stays inside the view however the user turns it.
  const Vec3 half = (high - low) * 0.5;
  const double radius = std::sqrt(Dot(half, half));
  const double fill = std::clamp(1.0 - margin, 0.05, 1.0);
  camera.distance = std::clamp(radius / fill, OrbitCamera::kMinDistance, OrbitCamera::kMaxDistance);
  return camera;
}

double Brightness(Vec3 normal, Vec3 lightDirection) {
  const double facing = std::abs(Dot(Normalized(normal), Normalized(lightDirection)));
  return 0.25 + 0.75 * facing;
}

std::vector<ScreenFace> ProjectFaces(const MeshRecord& mesh, const OrbitCamera& camera, const Viewport& viewport,
                                     Vec3 lightDirection) {
  std::vector<ScreenFace> faces;
  faces.reserve(mesh.Faces.size());
  for (std::size_t i = 0; i < mesh.Faces.size(); ++i) {
    const MeshFace& face = mesh.Faces[i];
    if (face.FaceType != MeshFace::kTriangle && face.FaceType != MeshFace::kQuad) continue;
    const bool inRange = std::all_of(face.Vertices.begin(), face.Vertices.end(), [&](std::int16_t k) {
      return k >= 0 && static_cast<std::size_t>(k) < mesh.Vertices.size();
    });
    if (!inRange || face.Vertices.size() < 3) continue;

    ScreenFace screen;
    screen.faceIndex = i;
    std::vector<Vec3> view;
    for (std::int16_t k : face.Vertices) {
      const Vec3 world = toVec3(mesh.Vertices[static_cast<std::size_t>(k)]);
      view.push_back(ToView(camera, world));
      screen.corners.push_back(Project(camera, viewport, world));
      screen.depth += screen.corners.back().depth;
    }
    screen.depth /= static_cast<double>(screen.corners.size());
    // Newell's normal: exact for triangles, and a fair average for a quad
    // whose corners do not lie in one plane.
    Vec3 normal;
    for (std::size_t c = 0; c < view.size(); ++c) normal = normal + Cross(view[c], view[(c + 1) % view.size()]);
    screen.brightness = Brightness(normal, lightDirection);
    faces.push_back(std::move(screen));
  }
  std::stable_sort(faces.begin(), faces.end(), [](const ScreenFace& a, const ScreenFace& b) { return a.depth > b.depth; });
  return faces;
}

std::optional<std::size_t> FaceAt(const std::vector<ScreenFace>& faces, double x, double y) {
  std::optional<std::size_t> nearest;
  double nearestDepth = std::numeric_limits<double>::infinity();
  for (const ScreenFace& face : faces) {
    const std::vector<ScreenPoint>& c = face.corners;
    std::optional<double> depth = depthInTriangle(c[0], c[1], c[2], x, y);
    if (!depth && c.size() == 4) depth = depthInTriangle(c[0], c[2], c[3], x, y);
    if (depth && *depth < nearestDepth) {
      nearestDepth = *depth;
      nearest = face.faceIndex;
    }
  }
  return nearest;
}

}  // namespace tarnlow::ui
