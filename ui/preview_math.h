#pragma once

#include <cstddef>
#include <numbers>
#include <optional>
#include <vector>

#include "wad/mesh_record.h"

// The geometry behind the mesh preview: camera, projection, fit, shading and
// hit-testing. Plain maths on doubles, no Qt, so it is tested without a
// screen.
namespace tarnlow::ui {

struct Vec3 {
  double x = 0, y = 0, z = 0;
  friend Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
  friend Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
  friend Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
};

double Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);
// `v` scaled to length 1; the zero vector stays zero.
Vec3 Normalized(Vec3 v);

// A point on the screen in pixels, and how far behind the screen it lies.
struct ScreenPoint {
  double x = 0, y = 0;
  double depth = 0;  // larger is farther from the viewer
};

struct Viewport {
  double width = 0, height = 0;
};

// A camera that circles `target`. View space keeps the game's axes: x to the
// right, y down (the game's Y points down too, so a mesh stands upright
// without a flip) and z away from the viewer.
//
// The projection is orthographic: meshes are small, parallel edges stay
// parallel, and the scale does not depend on depth, which keeps fitting and
// zooming exact. `distance` is therefore not a position but the zoom: half
// the world height that the view shows.
struct OrbitCamera {
  static constexpr double kMaxPitch = 1.55;  // just short of straight down or up
  static constexpr double kMinDistance = 1.0;
  static constexpr double kMaxDistance = 1.0e6;

  // The first view: from the object's front left (the game's objects face
  // +Z, their left is -X) and a little above, so a figure is seen from the
  // side it is built to be seen from, its length across the picture.
  double yaw = 0.75 * std::numbers::pi;  // radians about the vertical axis
  double pitch = 0.35;                   // radians; positive looks down on the mesh from above
  double distance = 1000;
  Vec3 target;

  // Turns the camera by the given angles; pitch stays within +-kMaxPitch.
  void orbit(double yawDelta, double pitchDelta);
  // Multiplies the distance by `factor` (below 1 zooms in), kept within
  // kMinDistance to kMaxDistance. A factor <= 0 changes nothing.
  void zoom(double factor);
};

// `world` in view space: around the target, turned by yaw then pitch.
Vec3 ToView(const OrbitCamera& camera, Vec3 world);
// The world direction of view-space direction `view`: ToView's turn undone
// (the target plays no part).
Vec3 FromViewDirection(const OrbitCamera& camera, Vec3 view);
// Pixels per world unit: the smaller side of the viewport spans 2 x distance.
double PixelsPerUnit(const OrbitCamera& camera, const Viewport& viewport);
// `world` projected into the viewport, the target at its centre.
ScreenPoint Project(const OrbitCamera& camera, const Viewport& viewport, Vec3 world);

// Zooms by `factor` (as OrbitCamera::zoom) toward screen point (x, y): the
// point of the target's plane under it stays under it, so the wheel brings
// what the pointer is on closer. A factor the limits cut short moves the
// target only as far as the zoom went.
OrbitCamera ZoomAt(OrbitCamera camera, const Viewport& viewport, double x, double y, double factor);
// Slides the view by (dx, dy) pixels: what was under the pointer moves with
// it. Keeps the angles and the zoom.
OrbitCamera Pan(OrbitCamera camera, const Viewport& viewport, double dx, double dy);

// Centres the camera on the middle of the vertices' bounding box and sets the
// distance so that the box's bounding sphere fills the view less `margin`
// (a fraction of the half view) on every side, whatever the camera's angles.
// Keeps yaw and pitch. With no vertices only the target moves, to 0.
OrbitCamera FitToView(OrbitCamera camera, const std::vector<MeshVector>& vertices, double margin = 0.1);
// The same for points that need not be whole numbers (a posed object's).
OrbitCamera FitToPoints(OrbitCamera camera, const std::vector<Vec3>& points, double margin = 0.1);

// 0.25 of ambient light plus 0.75 x |normal . light|. Both sides of a face
// are lit, since the winding of a WAD face says nothing reliable about its
// front. Returns the ambient level for a zero normal.
double Brightness(Vec3 normal, Vec3 lightDirection);

// The light: from the viewer's upper left, in view space, so that the side
// facing the user is always lit.
inline constexpr Vec3 kViewLight{-0.4, -0.6, -0.7};

// A face of the mesh as it will be painted.
struct ScreenFace {
  std::size_t faceIndex = 0;          // position in MeshRecord::Faces
  std::vector<ScreenPoint> corners;   // 3 or 4, in the face's order
  double depth = 0;                   // mean depth of the corners
  double brightness = 0;              // Brightness of the face normal
};

// Projects every triangle and quad of the mesh, sorted far to near so that
// painting them in order leaves the nearest on top. Faces of an unknown type
// and faces naming a vertex outside the vertex list are left out.
std::vector<ScreenFace> ProjectFaces(const MeshRecord& mesh, const OrbitCamera& camera, const Viewport& viewport,
                                     Vec3 lightDirection = kViewLight);

// The face under screen point (x, y): of the faces whose outline holds the
// point, the one nearest the viewer at that point (its depth there). A quad
// is taken as its two triangles 0-1-2 and 0-2-3. Returns its faceIndex, or
// nothing when no face holds the point.
std::optional<std::size_t> FaceAt(const std::vector<ScreenFace>& faces, double x, double y);

}  // namespace tarnlow::ui
