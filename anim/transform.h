#pragma once

#include <array>
#include <cstdint>

namespace tarnlow {

// A point or a direction in the WAD's own units and axes: X right, Y down,
// Z forward, as the meshes store them.
struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
  friend bool operator==(const Vec3&, const Vec3&) = default;
};

// A rigid transform: a 3 x 3 rotation (row-major, acting on column vectors)
// followed by a translation. World = parent * local; a point p becomes
// rotation * p + translation.
struct Transform {
  std::array<double, 9> rotation{1, 0, 0, 0, 1, 0, 0, 0, 1};
  Vec3 translation;
  friend bool operator==(const Transform&, const Transform&) = default;
};

// A unit quaternion (x, y, z, w), as glTF and most engines take rotations.
struct Quaternion {
  double x = 0;
  double y = 0;
  double z = 0;
  double w = 1;
};

Transform Identity();
Transform Translation(Vec3 offset);

// The rotation of one mesh in a frame: angles in radians about X, Y and Z,
// applied to the mesh in the order Z, then X, then Y (the matrix is
// Ry * Rx * Rz), each a right-handed turn in the WAD's axes.
Transform RotationYXZ(double x, double y, double z);

// The same turn from the sines and cosines of the three angles, for callers
// that look them up instead of computing them.
struct AngleSines {
  double sin = 0;
  double cos = 1;
};
Transform RotationYXZ(AngleSines x, AngleSines y, AngleSines z);

// a * b: b first, then a.
Transform Compose(const Transform& a, const Transform& b);

// The point p moved by t.
Vec3 Apply(const Transform& t, Vec3 p);

// The transform as a 4 x 4 matrix in column-major order (glTF's layout).
std::array<double, 16> ColumnMajor4x4(const Transform& t);

// The rotation part of t as a unit quaternion; t's rotation must be a proper
// rotation (every transform built from the functions above is).
Quaternion RotationQuaternion(const Transform& t);

// The rotation that q describes, with no translation; q need not be of unit
// length (it is normalised; a zero quaternion gives the identity).
Transform FromQuaternion(Quaternion q);

// Spherical interpolation from a (s = 0) to b (s = 1) along the shorter arc.
Quaternion Slerp(Quaternion a, Quaternion b, double s);

}  // namespace tarnlow
