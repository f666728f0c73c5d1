#include "export/obj_export.h"

#include <sstream>

namespace tarnlow {

namespace {

void writeVector(std::ostringstream& out, const char* tag, const MeshVector& v) {
  out << tag << ' ' << v.X << ' ' << v.Y << ' ' << v.Z << '\n';
}

// Why face `face` cannot be written, or empty when it can.
std::string skipReason(const MeshFace& face, std::size_t vertexCount) {
  if (face.FaceType != MeshFace::kTriangle && face.FaceType != MeshFace::kQuad) {
    return "unknown face type " + std::to_string(face.FaceType);
  }
  for (std::int16_t index : face.Vertices) {
    if (index < 0 || static_cast<std::size_t>(index) >= vertexCount) {
      return "vertex index " + std::to_string(index) + " is outside the " + std::to_string(vertexCount) +
             " vertices";
    }
  }
  return {};
}

}  // namespace

std::string MeshToObj(const MeshRecord& mesh, std::string_view title) {
  std::ostringstream out;
  out << "# " << title << '\n'
      << "# centre " << mesh.CentreX << ' ' << mesh.CentreY << ' ' << mesh.CentreZ << ", collision size "
      << mesh.CollisionSize << '\n'
      << "# " << mesh.Vertices.size() << " vertices, " << mesh.Faces.size() << " faces; "
      << "coordinates as stored, Y points down\n";

  for (const MeshVector& v : mesh.Vertices) writeVector(out, "v", v);

  // OBJ has no place for shades (one light value per vertex), so they are
  // kept in a comment rather than dropped without a word.
  if (!mesh.Normals.empty()) {
    out << "# " << mesh.Normals.size() << " normals as stored (16384 is unit length)\n";
    for (const MeshVector& n : mesh.Normals) writeVector(out, "vn", n);
  } else if (!mesh.Shades.empty()) {
    out << "# " << mesh.Shades.size() << " shades (not normals):";
    for (std::int16_t shade : mesh.Shades) out << ' ' << shade;
    out << '\n';
  }

  // A normal index is only meaningful when normals pair with vertices.
  const bool normalPerVertex = !mesh.Normals.empty() && mesh.Normals.size() == mesh.Vertices.size();
  for (std::size_t i = 0; i < mesh.Faces.size(); ++i) {
    const MeshFace& face = mesh.Faces[i];
    if (std::string reason = skipReason(face, mesh.Vertices.size()); !reason.empty()) {
      out << "# face " << i << " left out: " << reason << '\n';
      continue;
    }
    out << 'f';
    for (std::int16_t index : face.Vertices) {
      const int oneBased = index + 1;
      out << ' ' << oneBased;
      if (normalPerVertex) out << "//" << oneBased;
    }
    out << '\n';
  }
  return out.str();
}

}  // namespace tarnlow
