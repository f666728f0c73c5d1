#include "mesh/obj_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "mesh/mesh_decoder.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

// What an OBJ reader sees: positions, normals, faces (0-based vertex and
// normal indices) and the comment lines.
struct ParsedObj {
  std::vector<MeshVector> positions;
  std::vector<MeshVector> normals;
  struct Corner {
    int vertex;
    std::optional<int> normal;
  };
  std::vector<std::vector<Corner>> faces;
  std::vector<std::string> comments;
};

MeshVector parseVector(std::istringstream& in) {
  int x = 0, y = 0, z = 0;
  in >> x >> y >> z;
  return {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), static_cast<std::int16_t>(z)};
}

// A reader for the subset MeshToObj writes; fails the test on anything else.
ParsedObj parseObj(const std::string& text) {
  ParsedObj obj;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("# ", 0) == 0) {
      obj.comments.push_back(line.substr(2));
      continue;
    }
    std::istringstream in(line);
    std::string tag;
    in >> tag;
    if (tag == "v") {
      obj.positions.push_back(parseVector(in));
    } else if (tag == "vn") {
      obj.normals.push_back(parseVector(in));
    } else if (tag == "f") {
      std::vector<ParsedObj::Corner> face;
      std::string corner;
      while (in >> corner) {
        const std::size_t slashes = corner.find("//");
        ParsedObj::Corner c{std::stoi(corner.substr(0, slashes)) - 1, std::nullopt};
        if (slashes != std::string::npos) c.normal = std::stoi(corner.substr(slashes + 2)) - 1;
        face.push_back(c);
      }
      obj.faces.push_back(face);
    } else {
      ADD_FAILURE() << "unexpected OBJ line: " << line;
    }
  }
  return obj;
}

// The mesh as the decoder returns it from a WAD's mesh data.
MeshRecord decoded(const MeshRecord& mesh) {
  const WadDocument doc = test::WadBuilder().meshes({mesh}).build();
  MeshResult<MeshRecord> result = ReadMesh(doc, 0);
  EXPECT_TRUE(std::holds_alternative<MeshRecord>(result));
  return std::holds_alternative<MeshRecord>(result) ? std::get<MeshRecord>(result) : MeshRecord{};
}

MeshRecord quadAndTriangle() {
  MeshRecord m;
  m.NumVertices = 4;
  m.Vertices = {{-100, 0, -100}, {100, 0, -100}, {100, -32768, 100}, {-100, 32767, 100}};
  m.NumNormals = 4;
  m.Normals = {{0, -16384, 0}, {0, -16384, 1}, {0, -16384, 2}, {0, -16384, 3}};
  m.NumFaces = 2;
  m.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 4, 0}, MeshFace{MeshFace::kTriangle, {3, 2, 0}, 1, 0}};
  return m;
}

TEST(ObjExport, VerticesAndFacesReadBackAsDecoded) {
  MeshRecord withShades = quadAndTriangle();
  withShades.NumNormals = -4;
  withShades.Normals.clear();
  withShades.Shades = {1, 2, 3, 4};
  const MeshRecord meshes[] = {quadAndTriangle(), withShades, test::SimpleMesh(5), test::NullShapeMesh()};
  for (const MeshRecord& source : meshes) {
    const MeshRecord mesh = decoded(source);
    SCOPED_TRACE(testing::Message() << mesh.Vertices.size() << " vertices, NumNormals " << mesh.NumNormals);
    const ParsedObj obj = parseObj(MeshToObj(mesh, "test mesh"));
    EXPECT_EQ(obj.positions, mesh.Vertices);
    ASSERT_EQ(obj.faces.size(), mesh.Faces.size());
    for (std::size_t f = 0; f < mesh.Faces.size(); ++f) {
      ASSERT_EQ(obj.faces[f].size(), mesh.Faces[f].Vertices.size()) << "face " << f;
      for (std::size_t c = 0; c < obj.faces[f].size(); ++c) {
        EXPECT_EQ(obj.faces[f][c].vertex, mesh.Faces[f].Vertices[c]) << "face " << f << " corner " << c;
      }
    }
  }
}

TEST(ObjExport, NormalsAreWrittenOnlyForMeshesWithNormals) {
  const MeshRecord withNormals = decoded(quadAndTriangle());
  EXPECT_EQ(parseObj(MeshToObj(withNormals, "n")).normals, withNormals.Normals);

  MeshRecord shaded = quadAndTriangle();
  shaded.NumNormals = -3;
  shaded.Normals.clear();
  shaded.Shades = {4096, -5, 8192};
  const ParsedObj obj = parseObj(MeshToObj(decoded(shaded), "s"));
  EXPECT_TRUE(obj.normals.empty());
  EXPECT_NE(std::find(obj.comments.begin(), obj.comments.end(), "3 shades (not normals): 4096 -5 8192"),
            obj.comments.end());
}

TEST(ObjExport, FacesNameNormalsOnlyWhenEveryVertexHasOne) {
  const ParsedObj paired = parseObj(MeshToObj(decoded(quadAndTriangle()), "paired"));
  for (const auto& face : paired.faces) {
    for (const auto& corner : face) {
      ASSERT_TRUE(corner.normal.has_value());
      EXPECT_EQ(*corner.normal, corner.vertex);
    }
  }
  // SimpleMesh: three vertices, one normal.
  const ParsedObj unpaired = parseObj(MeshToObj(decoded(test::SimpleMesh(3)), "unpaired"));
  ASSERT_EQ(unpaired.faces.size(), 1u);
  EXPECT_EQ(unpaired.normals.size(), 1u);
  for (const auto& corner : unpaired.faces[0]) EXPECT_FALSE(corner.normal.has_value());
}

TEST(ObjExport, UnwritableFacesAreLeftOutWithAReason) {
  MeshRecord m = quadAndTriangle();
  m.NumFaces = 5;
  m.Faces = {MeshFace{7, {}, 0, 0},                            // unknown type
             MeshFace{MeshFace::kTriangle, {0, 1, 4}, 0, 0},   // one past the last vertex
             MeshFace{MeshFace::kTriangle, {0, 1, 2}, 0, 0},   // fine
             MeshFace{MeshFace::kQuad, {-1, 0, 1, 2}, 0, 0},   // negative
             MeshFace{MeshFace::kQuad, {3, 2, 1, 0}, 0, 0}};   // fine
  const ParsedObj obj = parseObj(MeshToObj(m, "broken faces"));
  ASSERT_EQ(obj.faces.size(), 2u);
  EXPECT_EQ(obj.faces[0].size(), 3u);
  EXPECT_EQ(obj.faces[1][0].vertex, 3);
  const std::vector<std::string> expected = {
      "face 0 left out: unknown face type 7",
      "face 1 left out: vertex index 4 is outside the 4 vertices",
      "face 3 left out: vertex index -1 is outside the 4 vertices",
  };
  for (const std::string& line : expected) {
    EXPECT_NE(std::find(obj.comments.begin(), obj.comments.end(), line), obj.comments.end()) << line;
  }
}

TEST(ObjExport, FirstLineNamesTheMesh) {
  const ParsedObj obj = parseObj(MeshToObj(decoded(test::SimpleMesh()), "LARA, mesh 03, pointer 40"));
  ASSERT_FALSE(obj.comments.empty());
  EXPECT_EQ(obj.comments[0], "LARA, mesh 03, pointer 40");
}

}  // namespace
}  // namespace tarnlow
