#include "anim/transform.h"

#include <cmath>

namespace tarnlow {

Transform Identity() { return Transform{}; }

Transform Translation(Vec3 offset) {
  Transform t;
  t.translation = offset;
  return t;
}

Transform RotationYXZ(double x, double y, double z) {
  return RotationYXZ({std::sin(x), std::cos(x)}, {std::sin(y), std::cos(y)}, {std::sin(z), std::cos(z)});
}

Transform RotationYXZ(AngleSines x, AngleSines y, AngleSines z) {
  const double cx = x.cos, sx = x.sin;
  const double cy = y.cos, sy = y.sin;
  const double cz = z.cos, sz = z.sin;
  // Ry * Rx * Rz written out, so that a pose costs no matrix products here.
  Transform t;
  t.rotation = {cy * cz + sy * sx * sz, -cy * sz + sy * sx * cz, sy * cx,
                cx * sz,                cx * cz,                 -sx,
                -sy * cz + cy * sx * sz, sy * sz + cy * sx * cz, cy * cx};
  return t;
}

Transform Compose(const Transform& a, const Transform& b) {
  Transform out;
  const auto& r = a.rotation;
  const auto& s = b.rotation;
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      out.rotation[row * 3 + col] =
          r[row * 3] * s[col] + r[row * 3 + 1] * s[3 + col] + r[row * 3 + 2] * s[6 + col];
    }
  }
  out.translation = Apply(a, b.translation);
  return out;
}

Vec3 Apply(const Transform& t, Vec3 p) {
  const auto& r = t.rotation;
  return {r[0] * p.x + r[1] * p.y + r[2] * p.z + t.translation.x,
          r[3] * p.x + r[4] * p.y + r[5] * p.z + t.translation.y,
          r[6] * p.x + r[7] * p.y + r[8] * p.z + t.translation.z};
}

std::array<double, 16> ColumnMajor4x4(const Transform& t) {
  const auto& r = t.rotation;
  return {r[0], r[3], r[6], 0, r[1], r[4], r[7], 0, r[2], r[5], r[8], 0,
          t.translation.x, t.translation.y, t.translation.z, 1};
}

Quaternion RotationQuaternion(const Transform& t) {
  const auto& m = t.rotation;
  const double trace = m[0] + m[4] + m[8];
  Quaternion q;
  // The largest of w, x, y, z is found first so that the division is by
  // something far from zero.
  if (trace > 0) {
    const double s = std::sqrt(trace + 1.0) * 2;
    q = {(m[7] - m[5]) / s, (m[2] - m[6]) / s, (m[3] - m[1]) / s, 0.25 * s};
  } else if (m[0] > m[4] && m[0] > m[8]) {
    const double s = std::sqrt(1.0 + m[0] - m[4] - m[8]) * 2;
    q = {0.25 * s, (m[1] + m[3]) / s, (m[2] + m[6]) / s, (m[7] - m[5]) / s};
  } else if (m[4] > m[8]) {
    const double s = std::sqrt(1.0 + m[4] - m[0] - m[8]) * 2;
    q = {(m[1] + m[3]) / s, 0.25 * s, (m[5] + m[7]) / s, (m[2] - m[6]) / s};
  } else {
    const double s = std::sqrt(1.0 + m[8] - m[0] - m[4]) * 2;
    q = {(m[2] + m[6]) / s, (m[5] + m[7]) / s, 0.25 * s, (m[3] - m[1]) / s};
  }
  return q;
}

Transform FromQuaternion(Quaternion q) {
  const double length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
  if (length == 0) return Identity();
  const double x = q.x / length, y = q.y / length, z = q.z / length, w = q.w / length;
  Transform t;
  t.rotation = {1 - 2 * (y * y + z * z), 2 * (x * y - z * w),     2 * (x * z + y * w),
                2 * (x * y + z * w),     1 - 2 * (x * x + z * z), 2 * (y * z - x * w),
                2 * (x * z - y * w),     2 * (y * z + x * w),     1 - 2 * (x * x + y * y)};
  return t;
}

Quaternion Slerp(Quaternion a, Quaternion b, double s) {
  double dot = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
  // q and -q are the same turn: go the short way.
  if (dot < 0) {
    b = {-b.x, -b.y, -b.z, -b.w};
    dot = -dot;
  }
  double wa = 1 - s, wb = s;
  // Nearly equal turns: the straight blend is as good and avoids 0 / 0.
  if (dot < 0.9995) {
    const double angle = std::acos(dot);
    const double sine = std::sin(angle);
    wa = std::sin((1 - s) * angle) / sine;
    wb = std::sin(s * angle) / sine;
  }
  Quaternion q{wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z, wa * a.w + wb * b.w};
  const double length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
  return {q.x / length, q.y / length, q.z / length, q.w / length};
}

}  // namespace tarnlow
