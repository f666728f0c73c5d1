// Mesh decoder and lists: any mesh data and any pointers decode to a whole,
// self-consistent record or to a failure, never to a read outside MeshData;
// the lists stay well formed whatever the meshes hold.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/mesh_fuzz_input.h"
#include "mesh/mesh_decoder.h"
#include "mesh/mesh_encoder.h"
#include "mesh/mesh_lists.h"
#include "wad/object_names.h"

namespace {

using tarnlow::MeshFailure;
using tarnlow::MeshFailureKind;
using tarnlow::MeshFace;
using tarnlow::MeshRecord;
using tarnlow::WadDocument;
using tarnlow::fuzz::Require;

bool IsKnownFace(std::int16_t type) { return type == MeshFace::kTriangle || type == MeshFace::kQuad; }

void CheckRecord(const WadDocument& doc, std::int64_t index, const MeshRecord& m, const std::vector<int>& unknownFaces) {
  Require(m.NumVertices >= 1 && m.Vertices.size() == static_cast<std::size_t>(m.NumVertices),
          "a decoded mesh has NumVertices vertices, at least one");
  Require(m.NumNormals != 0, "a decoded mesh has normals or shades");
  if (m.NumNormals > 0) {
    Require(m.Normals.size() == static_cast<std::size_t>(m.NumNormals) && m.Shades.empty(), "normals follow NumNormals");
  } else {
    Require(m.Shades.size() == static_cast<std::size_t>(-m.NumNormals) && m.Normals.empty(), "shades follow NumNormals");
    Require(m.Shades.size() <= 16383, "at most 16383 shades");
  }
  Require(m.CollisionSize >= 0, "collision size below 2^31");
  Require(m.NumFaces >= 0 && m.Faces.size() == static_cast<std::size_t>(m.NumFaces), "faces follow NumFaces");
  std::vector<int> expectedUnknown;
  for (std::size_t i = 0; i < m.Faces.size(); ++i) {
    const MeshFace& f = m.Faces[i];
    const std::size_t corners = f.FaceType == MeshFace::kTriangle ? 3 : f.FaceType == MeshFace::kQuad ? 4 : 0;
    Require(f.Vertices.size() == corners, "a face has as many indices as its type says");
    Require(f.FaceType >= 0, "face type words are below 32768");
    for (std::int16_t v : f.Vertices) Require(v >= 0, "vertex index words are below 32768");
    if (!IsKnownFace(f.FaceType)) {
      Require(f.Texture == 0 && f.Attributes == 0, "an unknown face has Texture and Attributes 0");
      expectedUnknown.push_back(static_cast<int>(i));
    }
  }
  Require(unknownFaces == expectedUnknown, "each unknown face is reported once, in order");

  // Encoding the record gives back exactly the bytes it was decoded from.
  const tarnlow::Bytes encoded = tarnlow::EncodeMesh(m);
  const std::int32_t start = doc.MeshPointers[static_cast<std::size_t>(index)];
  Require(start >= 0 && static_cast<std::size_t>(start) + encoded.size() <= doc.MeshData.size(),
          "a decoded mesh lies inside MeshData");
  Require(std::memcmp(encoded.data(), doc.MeshData.data() + start, encoded.size()) == 0,
          "a decoded mesh is the bytes it was read from");
}

void CheckMesh(const WadDocument& doc, std::int64_t index) {
  std::vector<int> unknownFaces;
  const auto record = tarnlow::ReadMesh(doc, index, [&](int face) { unknownFaces.push_back(face); });
  const bool inTable = index >= 0 && index < doc.NumMeshPointers;
  if (!inTable) {
    Require(std::holds_alternative<MeshFailure>(record) &&
                std::get<MeshFailure>(record).kind == MeshFailureKind::OutOfRange,
            "an index outside MeshPointers fails out of range");
  }
  const auto isNull = tarnlow::IsNullMesh(doc, index);
  std::vector<int> measuredUnknown;
  const auto measured = tarnlow::MeasureMesh(doc, index, [&](int face) { measuredUnknown.push_back(face); });
  if (const auto* failure = std::get_if<MeshFailure>(&record)) {
    Require(!tarnlow::Describe(*failure).empty(), "a failure can be described");
    Require(std::holds_alternative<MeshFailure>(isNull) && std::get<MeshFailure>(isNull) == *failure,
            "IsNullMesh fails as ReadMesh does");
    Require(std::holds_alternative<MeshFailure>(measured) && std::get<MeshFailure>(measured) == *failure,
            "MeasureMesh fails as ReadMesh does");
    return;
  }
  const MeshRecord& m = std::get<MeshRecord>(record);
  CheckRecord(doc, index, m, unknownFaces);
  Require(std::holds_alternative<tarnlow::MeshExtent>(measured) &&
              std::get<tarnlow::MeshExtent>(measured).bytes == tarnlow::EncodeMesh(m).size() &&
              measuredUnknown == unknownFaces,
          "MeasureMesh spans the bytes ReadMesh decodes and reports the same unknown faces");
  Require(std::holds_alternative<bool>(isNull) && std::get<bool>(isNull) == tarnlow::HasNullMeshShape(m),
          "IsNullMesh answers for the decoded shape");
}

void CheckMeshList(const WadDocument& doc, std::size_t moveable) {
  const auto lines = tarnlow::MeshListLines(doc, moveable, [](int) {});
  if (moveable >= doc.Moveables.size()) {
    Require(lines.empty(), "a position past the moveables lists nothing");
    return;
  }
  const tarnlow::MoveableRecord m = doc.Moveables[moveable];
  Require(lines.size() == static_cast<std::size_t>(std::max<int>(0, m.NumMeshes)), "one line per mesh");
  for (std::size_t j = 0; j < lines.size(); ++j) {
    const std::string number = j < 10 ? "0" + std::to_string(j) : std::to_string(j);
    const std::string& text = lines[j].text;
    const std::string head = "Mesh " + number;
    Require(text.compare(0, head.size(), head) == 0, "a line starts with Mesh and its number");
    const std::string tail = text.substr(head.size());
    if (lines[j].failure) {
      // How a failed line reads is the list's choice, as long as it is not
      // taken for a mark.
      Require(tail != " DUMMY" && tail != " NULL", "a mesh that failed is not marked");
    } else {
      Require(tail.empty() || tail == " DUMMY" || tail == " NULL", "a line is marked DUMMY, NULL or nothing");
    }
    const std::int64_t k = static_cast<std::int64_t>(m.StartingMesh) + static_cast<std::int64_t>(j);
    if (k >= 0 && k < doc.NumMeshPointers && doc.MeshPointers[static_cast<std::size_t>(k)] == 0) {
      Require(tail == " DUMMY" && !lines[j].failure, "a zero pointer is a dummy and is not decoded");
    }
    if (tail == " NULL") {
      const auto isNull = tarnlow::IsNullMesh(doc, k);
      Require(std::holds_alternative<bool>(isNull) && std::get<bool>(isNull), "NULL marks the null shape");
    }
  }
}

void CheckObjectList(const WadDocument& doc) {
  static const tarnlow::ObjectNameTables names = [] {
    tarnlow::ObjectNameTables t;
    for (int row = 0; row < tarnlow::ObjectNameTables::kRows; ++row) {
      t.ObjectNames[tarnlow::ObjectNameTables::kObjectColumn][static_cast<std::size_t>(row)] = "object " + std::to_string(row);
    }
    return t;
  }();
  const auto lines = tarnlow::ObjectListLines(doc, names);
  std::size_t named = 0;
  while (named < doc.Moveables.size() && names.ObjectName(doc.Moveables[named].ObjectID) != nullptr) ++named;
  Require(lines.size() == named, "the object list stops at the first id without a row");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Require(lines[i] == *names.ObjectName(doc.Moveables[i].ObjectID), "an object is listed by its name");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto input = tarnlow::fuzz::MeshFuzzInput::Decode(std::span<const std::uint8_t>(data, size));
  const WadDocument doc = input.Document();
  // One index before and one past the table, besides every real one.
  for (std::int64_t i = -1; i <= doc.NumMeshPointers; ++i) CheckMesh(doc, i);
  for (std::size_t m = 0; m <= doc.Moveables.size(); ++m) CheckMeshList(doc, m);
  CheckObjectList(doc);
  return 0;
}
