#include "mesh/mesh_encoder.h"

#include "wad/byte_writer.h"

namespace tarnlow {

namespace {

void writeVector(ByteWriter& w, const MeshVector& v) {
  w.i16(v.X);
  w.i16(v.Y);
  w.i16(v.Z);
}

}  // namespace

Bytes EncodeMesh(const MeshRecord& mesh) {
  Bytes out;
  ByteWriter w(out);
  w.i16(mesh.CentreX);
  w.i16(mesh.CentreY);
  w.i16(mesh.CentreZ);
  w.i32(mesh.CollisionSize);
  w.i16(mesh.NumVertices);
  for (const MeshVector& v : mesh.Vertices) writeVector(w, v);
  w.i16(mesh.NumNormals);
  for (const MeshVector& n : mesh.Normals) writeVector(w, n);
  for (std::int16_t s : mesh.Shades) w.i16(s);
  w.i16(mesh.NumFaces);
  for (const MeshFace& f : mesh.Faces) {
    w.i16(f.FaceType);
    // Unknown face types are a bare type word in the file.
    if (f.FaceType != MeshFace::kTriangle && f.FaceType != MeshFace::kQuad) continue;
    for (std::int16_t index : f.Vertices) w.i16(index);
    w.i16(f.Texture);
    w.i16(f.Attributes);
  }
  return out;
}

}  // namespace tarnlow
