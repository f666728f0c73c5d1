#include "ui/preview_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

#include "tests/support/wad_builder.h"

namespace tarnlow::ui {
namespace {

using test::SquareMesh;

constexpr double kPi = std::numbers::pi;

void ExpectNear(Vec3 actual, Vec3 expected) {
  for (auto axis : {&Vec3::x, &Vec3::y, &Vec3::z}) EXPECT_NEAR(actual.*axis, expected.*axis, 1e-9);
}

OrbitCamera Camera(double yaw, double pitch, double distance = 100, Vec3 target = {}) {
  return {yaw, pitch, distance, target};
}

// Two meshes' vertices and faces as one mesh.
MeshRecord Joined(MeshRecord a, const MeshRecord& b) {
  const auto offset = static_cast<std::int16_t>(a.Vertices.size());
  a.Vertices.insert(a.Vertices.end(), b.Vertices.begin(), b.Vertices.end());
  for (MeshFace f : b.Faces) {
    for (std::int16_t& k : f.Vertices) k = static_cast<std::int16_t>(k + offset);
    a.Faces.push_back(f);
  }
  a.NumVertices = static_cast<std::int16_t>(a.Vertices.size());
  a.NumFaces = static_cast<std::int16_t>(a.Faces.size());
  return a;
}

// Unturned, the view keeps the game's axes; a quarter turn of yaw carries
// the point on the right away from the viewer. The game's Y points down, so
// (0, -1, 0) is above the target: positive pitch looks down on it, bringing
// it towards the viewer and up the screen.
TEST(OrbitCamera, ViewTurnsAboutTheTargetByYawThenPitch) {
  const std::tuple<OrbitCamera, Vec3, Vec3> cases[] = {
      {Camera(0, 0, 100, {10, 20, 30}), {11, 22, 33}, {1, 2, 3}}, {Camera(kPi / 2, 0), {1, 5, 0}, {0, 5, 1}},
      {Camera(kPi, 0), {1, 5, 2}, {-1, 5, -2}}, {Camera(0, 0.5), {0, -1, 0}, {0, -std::cos(0.5), -std::sin(0.5)}},
      {Camera(kPi / 2, 0.5), {1, 0, 0}, {0, -std::sin(0.5), std::cos(0.5)}}};
  for (const auto& [camera, world, view] : cases) {
    SCOPED_TRACE(testing::Message() << "yaw " << camera.yaw << ", pitch " << camera.pitch);
    ExpectNear(ToView(camera, world), view);
  }
}

TEST(OrbitCamera, PitchAndDistanceStayWithinTheirLimits) {
  OrbitCamera c = Camera(0, 0);
  c.orbit(0, 10);
  EXPECT_EQ(c.pitch, OrbitCamera::kMaxPitch);
  const std::pair<double, double> zooms[] = {{0.5, 50}, {0, 100}, {std::nan(""), 100}, {1e9, OrbitCamera::kMaxDistance}};
  for (const auto& [factor, distance] : zooms) {
    OrbitCamera camera = Camera(0, 0, 100);
    camera.zoom(factor);
    EXPECT_DOUBLE_EQ(camera.distance, distance) << factor;
  }
}

TEST(Projection, TargetAtTheCentreAndDistanceSpansHalfTheSmallerSide) {
  const OrbitCamera camera = Camera(0, 0, 100, {5, 5, 5});
  const Viewport wide{400, 200};
  EXPECT_DOUBLE_EQ(PixelsPerUnit(camera, wide), 1.0);
  const ScreenPoint centre = Project(camera, wide, {5, 5, 5});
  const ScreenPoint corner = Project(camera, wide, {105, -95, 25});
  EXPECT_EQ(std::tuple(centre.x, centre.y), std::tuple(200.0, 100.0));
  EXPECT_EQ(std::tuple(corner.x, corner.y, corner.depth), std::tuple(300.0, 0.0, 20.0));
}

TEST(FitToView, EveryVertexStaysInsideTheMarginFromAnyAngle) {
  const MeshRecord meshes[] = {test::NullShapeMesh(), SquareMesh(300, 40, 1000), test::SimpleMesh(9)};
  const Viewport viewport{320, 200};
  const double margin = 0.1;
  for (const MeshRecord& mesh : meshes) {
    for (double yaw : {0.0, 0.7, 2.0, -2.5}) {
      for (double pitch : {0.0, -1.2, 1.5}) {
        SCOPED_TRACE(testing::Message() << mesh.Vertices.size() << " vertices, yaw " << yaw << ", pitch " << pitch);
        const OrbitCamera fitted = FitToView(Camera(yaw, pitch, 7), mesh.Vertices, margin);
        EXPECT_EQ(std::pair(fitted.yaw, fitted.pitch), std::pair(yaw, pitch));
        const double limit = (1 - margin) * 100 + 1e-9;  // 100: half the smaller side
        for (const MeshVector& v : mesh.Vertices) {
          const ScreenPoint p = Project(fitted, viewport, {double(v.X), double(v.Y), double(v.Z)});
          EXPECT_LE(std::hypot(p.x - 160, p.y - 100), limit) << v.X << "," << v.Y << "," << v.Z;
        }
      }
    }
  }
}

// The square's corners lie on the sphere around its box: seen face on, they
// reach exactly the margin. A point gets the smallest distance, not zero;
// no vertices at all leave the distance as it was.
TEST(FitToView, TheBoxCornerTouchesTheMarginAndAPointGetsTheSmallestDistance) {
  const OrbitCamera fitted = FitToView(Camera(0, 0), SquareMesh(300, 40, 1000).Vertices, 0.1);
  ExpectNear(fitted.target, {1000, 0, 40});
  const ScreenPoint corner = Project(fitted, {200, 200}, {700, -300, 40});
  EXPECT_NEAR(std::hypot(corner.x - 100, corner.y - 100), 90, 1e-9);
  const OrbitCamera point = FitToView(Camera(0, 0), {{7, 8, 9}, {7, 8, 9}});
  ExpectNear(point.target, {7, 8, 9});
  EXPECT_EQ(point.distance, OrbitCamera::kMinDistance);
  EXPECT_EQ(FitToView(Camera(0, 0, 55, {1, 1, 1}), {}).distance, 55);
}

// The point of the target's plane under the pointer stays under it, from
// any angle, also when the limits cut the zoom short; a pan carries any
// point with the pointer.
TEST(ZoomAndPan, ThePointUnderThePointerStaysUnderIt) {
  const Viewport viewport{640, 480};
  const struct { OrbitCamera camera; double x, y, factor; } cases[] = {
      {Camera(0.7, 0.3, 500, {10, -20, 30}), 100, 50, 0.85},
      {Camera(-2.0, -1.2, 500), 600, 400, 1 / 0.85},
      {Camera(2.5, 1.5, 1.5, {3, 4, 5}), 20, 470, 0.1},
  };
  for (const auto& c : cases) {
    const double scale = PixelsPerUnit(c.camera, viewport);
    const Vec3 under = c.camera.target + FromViewDirection(c.camera, {(c.x - 320) / scale, (c.y - 240) / scale, 0});
    const OrbitCamera zoomed = ZoomAt(c.camera, viewport, c.x, c.y, c.factor);
    EXPECT_NE(zoomed.distance, c.camera.distance);
    EXPECT_NEAR(Project(zoomed, viewport, under).x, c.x, 1e-6);
    EXPECT_NEAR(Project(zoomed, viewport, under).y, c.y, 1e-6);
    const ScreenPoint panned = Project(Pan(c.camera, viewport, 37, -12), viewport, {-40, 25, 90});
    EXPECT_NEAR(panned.x - Project(c.camera, viewport, {-40, 25, 90}).x, 37, 1e-6);
    EXPECT_NEAR(panned.y - Project(c.camera, viewport, {-40, 25, 90}).y, -12, 1e-6);
  }
}

TEST(Brightness, FollowsTheAngleToTheLightOnBothSides) {
  const Vec3 light{0, 0, -1};
  // The back of a face ({0, 0, 3}) is lit like its front.
  const std::pair<Vec3, double> cases[] = {{{0, 0, -5}, 1.0}, {{0, 0, 3}, 1.0}, {{1, 0, 0}, 0.25},
                                           {{0, 1, -1}, 0.25 + 0.75 * std::sqrt(0.5)}, {{0, 0, 0}, 0.25}};
  for (const auto& [normal, brightness] : cases) {
    EXPECT_NEAR(Brightness(normal, light), brightness, 1e-12) << normal.x << "," << normal.y << "," << normal.z;
  }
}

TEST(ProjectFaces, SortsFarToNearAndLeavesOutFacesItCannotDraw) {
  MeshRecord mesh = Joined(Joined(SquareMesh(50, 10), SquareMesh(50, 300)), SquareMesh(50, -40));
  mesh.Faces.push_back(MeshFace{7, {}, 0, 0});
  mesh.Faces.push_back(MeshFace{MeshFace::kTriangle, {0, 1, 12}, 0, 0});
  mesh.Faces.push_back(MeshFace{MeshFace::kTriangle, {0, -1, 2}, 0, 0});
  const std::vector<ScreenFace> faces = ProjectFaces(mesh, Camera(0, 0), {200, 200});
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_EQ(std::tuple(faces[0].faceIndex, faces[1].faceIndex, faces[2].faceIndex), std::tuple(1u, 0u, 2u));
  EXPECT_EQ(faces[0].corners.size(), 4u);
  // Face on to the view light's z part only: brightness of the z component.
  const double expected = 0.25 + 0.75 * std::abs(Normalized(kViewLight).z);
  EXPECT_NEAR(faces[0].brightness, expected, 1e-12);
}

// Seen with one pixel per unit, the origin at (250, 250).
TEST(FaceAt, PicksTheNearestFaceUnderThePointTakingTheDepthAtThePoint) {
  // Two overlapping squares, the one at x 60 nearer; a small one beside.
  // Under both: the nearer; then only the far one; below the diagonal: the
  // quad's second triangle; the small one; below everything.
  const MeshRecord flat = Joined(Joined(SquareMesh(50, 100), SquareMesh(50, 20, 60)), SquareMesh(10, 0, -200));
  // A long quad that runs from near on the left to far on the right, and a
  // square between them in depth: left of centre the long quad is nearer,
  // right of centre the square is.
  const MeshRecord slope{.NumVertices = 4,
                         .Vertices = {{-100, -20, -100}, {100, -20, 100}, {100, 20, 100}, {-100, 20, -100}},
                         .Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 0, 0}}};
  const MeshRecord tilted = Joined(slope, SquareMesh(90, 0));
  const std::tuple<const MeshRecord*, double, double, std::optional<std::size_t>> cases[] = {
      {&flat, 280, 250, 1}, {&flat, 220, 250, 0}, {&flat, 350, 295, 1}, {&flat, 50, 250, 2},
      {&flat, 250, 330, std::nullopt}, {&tilted, 200, 250, 0}, {&tilted, 300, 250, 1}};
  for (const auto& [mesh, x, y, face] : cases) {
    EXPECT_EQ(FaceAt(ProjectFaces(*mesh, Camera(0, 0, 250), {500, 500}), x, y), face) << x << "," << y;
  }
}

}  // namespace
}  // namespace tarnlow::ui
