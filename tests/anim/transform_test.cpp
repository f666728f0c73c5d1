#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "anim/transform.h"

namespace tarnlow::test {
namespace {

constexpr double kQuarter = std::numbers::pi / 2;

void ExpectNear(Vec3 actual, Vec3 expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-9);
  EXPECT_NEAR(actual.y, expected.y, 1e-9);
  EXPECT_NEAR(actual.z, expected.z, 1e-9);
}

TEST(Transform, QuarterTurnsFollowTheRightHandAndTurnZThenXThenY) {
  const struct {
    const char* what;
    double x, y, z;
    Vec3 in, out;
  } cases[] = {
      {"X takes down (+Y) to forward (+Z)", kQuarter, 0, 0, {0, 1, 0}, {0, 0, 1}},
      {"Y takes forward to right (+X)", 0, kQuarter, 0, {0, 0, 1}, {1, 0, 0}},
      {"Z takes right to down", 0, 0, kQuarter, {1, 0, 0}, {0, 1, 0}},
      // Z first: right goes down; then X: down goes forward; then Y: forward goes right.
      {"Z, then X, then Y", kQuarter, kQuarter, kQuarter, {1, 0, 0}, {1, 0, 0}},
      {"X before Y", kQuarter, kQuarter, 0, {0, 1, 0}, {1, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectNear(Apply(RotationYXZ(c.x, c.y, c.z), c.in), c.out);
  }
}

TEST(Transform, QuaternionRoundTripKeepsTheRotation) {
  for (const Vec3 angles : {Vec3{0.3, -1.2, 2.9}, Vec3{3.1, 0.2, -0.4}, Vec3{0, std::numbers::pi, 0}}) {
    const Transform t = RotationYXZ(angles.x, angles.y, angles.z), back = FromQuaternion(RotationQuaternion(t));
    for (std::size_t i = 0; i < 9; ++i) EXPECT_NEAR(back.rotation[i], t.rotation[i], 1e-9);
  }
}

TEST(Transform, SlerpTakesTheShortWayAtEvenSpeed) {
  const Quaternion none = RotationQuaternion(Identity());
  const Quaternion quarter = RotationQuaternion(RotationYXZ(0, kQuarter, 0));
  // The same turn written as its negative must blend the same way.
  const Quaternion negated{-quarter.x, -quarter.y, -quarter.z, -quarter.w};
  for (const Quaternion& target : {quarter, negated}) {
    ExpectNear(Apply(FromQuaternion(Slerp(none, target, 0.5)), {0, 0, 1}),
               {std::sin(kQuarter / 2), 0, std::cos(kQuarter / 2)});
  }
}

TEST(Transform, ComposeAppliesTheRightSideFirstAndItsMatrixMapsPointsLikeApply) {
  ExpectNear(Apply(Compose(RotationYXZ(0, kQuarter, 0), Translation({0, 0, 10})), {0, 0, 0}), {10, 0, 0});
  ExpectNear(Apply(Compose(Translation({0, 0, 10}), RotationYXZ(0, kQuarter, 0)), {0, 0, 0}), {0, 0, 10});
  const Transform t = Compose(Translation({5, -6, 7}), RotationYXZ(0.4, 1.1, -0.7));
  const std::array<double, 16> m = ColumnMajor4x4(t);
  const Vec3 p{3, 2, 1};
  ExpectNear({m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
              m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]},
             Apply(t, p));
  EXPECT_EQ(m[15], 1);
}

}  // namespace
}  // namespace tarnlow::test
