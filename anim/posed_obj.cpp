#include "anim/posed_obj.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "anim/frame_box.h"
#include "mesh/mesh_decoder.h"
#include "mesh/mesh_lists.h"

namespace tarnlow {

namespace {

// Coordinates keep one decimal: the WAD's units are small enough that
// more says nothing, and the text stays the same on every platform.
std::string number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", std::abs(v) < 0.05 ? 0.0 : v);
  return text;
}

void writePoint(std::ostringstream& out, const char* tag, Vec3 p) {
  out << tag << ' ' << number(p.x) << ' ' << number(p.y) << ' ' << number(p.z) << '\n';
}

Vec3 turn(const Transform& t, Vec3 v) {
  Transform rotationOnly = t;
  rotationOnly.translation = {};
  return Apply(rotationOnly, v);
}

Vec3 vec(const MeshVector& v) { return {double(v.X), double(v.Y), double(v.Z)}; }

std::string boxText(double minX, double maxX, double minY, double maxY, double minZ, double maxZ) {
  return "X " + number(minX) + " to " + number(maxX) + ", Y " + number(minY) + " to " + number(maxY) + ", Z " +
         number(minZ) + " to " + number(maxZ);
}

}  // namespace

std::string PosedObjectToObj(const WadDocument& document, const ObjectPose& pose, std::string_view title) {
  std::ostringstream out;
  Box3 posed;
  // OBJ numbers vertices and normals across the whole file, from 1.
  std::size_t vertexBase = 1, normalBase = 1;
  for (std::size_t j = 0; j < pose.meshes.size(); ++j) {
    const MeshPose& placed = pose.meshes[j];
    out << "o mesh_" << MeshLabel(static_cast<std::int64_t>(j)).substr(5) << '\n';
    if (placed.problem) {
      out << "# left out: " << placed.problem->problem << '\n';
      continue;
    }
    const auto k = static_cast<std::size_t>(placed.meshPointer);
    if (document.MeshPointers[k] == 0) out << "# DUMMY (pointer 0): the mesh at offset 0\n";
    const MeshResult<MeshRecord> decoded = ReadMesh(document, placed.meshPointer);
    if (const auto* failure = std::get_if<MeshFailure>(&decoded)) {
      out << "# left out: mesh pointer " << k << " cannot be decoded: " << Describe(*failure) << '\n';
      continue;
    }
    const MeshRecord& mesh = std::get<MeshRecord>(decoded);
    for (const MeshVector& v : mesh.Vertices) {
      const Vec3 p = Apply(placed.world, vec(v));
      posed.add(p);
      writePoint(out, "v", p);
    }
    // Normals are stored with 16384 as unit length; turned, they keep it.
    for (const MeshVector& n : mesh.Normals) {
      const Vec3 t = turn(placed.world, vec(n));
      writePoint(out, "vn", {t.x / 16384, t.y / 16384, t.z / 16384});
    }
    const bool normalPerVertex = !mesh.Normals.empty() && mesh.Normals.size() == mesh.Vertices.size();
    for (std::size_t f = 0; f < mesh.Faces.size(); ++f) {
      const MeshFace& face = mesh.Faces[f];
      bool usable = face.FaceType == MeshFace::kTriangle || face.FaceType == MeshFace::kQuad;
      for (std::int16_t index : face.Vertices) {
        usable = usable && index >= 0 && static_cast<std::size_t>(index) < mesh.Vertices.size();
      }
      if (!usable) {
        out << "# face " << f << " left out: unknown type or a vertex outside the mesh\n";
        continue;
      }
      out << 'f';
      for (std::int16_t index : face.Vertices) {
        out << ' ' << vertexBase + static_cast<std::size_t>(index);
        if (normalPerVertex) out << "//" << normalBase + static_cast<std::size_t>(index);
      }
      out << '\n';
    }
    vertexBase += mesh.Vertices.size();
    normalBase += mesh.Normals.size();
  }
  std::ostringstream header;
  header << "# " << title << '\n'
         << "# " << pose.meshes.size() << " meshes placed by the mesh tree; coordinates in WAD units, Y points down\n";
  // The key frame's own box lets a reader judge the pose without a viewer.
  if (pose.animation) {
    const BoundingBox& b = pose.box;
    header << "# stored box of the key frame: " << boxText(b.minX, b.maxX, b.minY, b.maxY, b.minZ, b.maxZ) << '\n';
  }
  if (!posed.empty()) {
    header << "# box of this pose: "
           << boxText(posed.min.x, posed.max.x, posed.min.y, posed.max.y, posed.min.z, posed.max.z) << '\n';
  }
  return header.str() + out.str();
}

}  // namespace tarnlow
