#include "tests/support/wad_builder.h"

#include "mesh/mesh_encoder.h"
#include "wad/byte_writer.h"

namespace tarnlow::test {

namespace {

template <typename T>
Bytes bytesOf(const RecordArray<T>& array) {
  Bytes out = array.storedBytes();
  out.resize(array.byteSize(), 0);
  return out;
}

}  // namespace

WadBuilder::WadBuilder() {
  textInfo({TextInfoRecord{}}).textureRows(1).meshPointers({0}).meshData(Bytes(2, 0)).animations({AnimationRecord{}});
  stateChanges({StateChangeRecord{}}).animDispatches({AnimDispatchRecord{}}).animCommands({0}).meshTrees({0}).frames({0});
  moveables({MoveableRecord{}}).staticMeshes({});
}

WadBuilder& WadBuilder::textureRows(std::int32_t rows) {
  // A recognisable pattern: every pixel differs from its neighbours.
  Bytes bytes(static_cast<std::size_t>(rows) * TextureRow::kFileSize);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 768) & 0xFF);
  doc_.NumTextData = rows * 768;
  doc_.TextData = RecordArray<TextureRow>(static_cast<std::size_t>(rows), bytes);
  return *this;
}

WadBuilder& WadBuilder::meshes(const std::vector<MeshRecord>& meshes) {
  Bytes data;
  std::vector<std::int32_t> pointers;
  for (const MeshRecord& m : meshes) {
    pointers.push_back(static_cast<std::int32_t>(data.size()));
    const Bytes encoded = EncodeMesh(m);
    data.insert(data.end(), encoded.begin(), encoded.end());
  }
  meshPointers(std::move(pointers));
  return meshData(std::move(data));
}

WadBuilder& WadBuilder::meshData(Bytes data) {
  if (data.size() % 2 != 0) data.push_back(0);
  doc_.NumMeshData = static_cast<std::int32_t>(data.size() / 2);
  doc_.MeshData = std::move(data);
  return *this;
}

MoveableRecord Moveable(std::int32_t objectId, std::int16_t numMeshes, std::int16_t startingMesh) {
  return MoveableRecord{objectId, numMeshes, startingMesh, 0, {}};
}

StaticMeshRecord StaticMeshAt(std::int32_t objectId, std::int16_t mesh) {
  Bytes bytes;
  ByteWriter w(bytes);
  w.i32(objectId);
  w.i16(mesh);
  StaticMeshRecord record;
  std::copy(bytes.begin(), bytes.end(), record.Bytes.begin());
  return record;
}

MeshRecord NullShapeMesh() {
  return {.NumVertices = 5,
          .Vertices = {{-5, 12, 177}, {116, 120, -177}, {-116, 120, -177}, {-116, -120, -177}, {116, -120, -177}},
          .NumNormals = 1,
          .Normals = {{0, 0, 16384}}};
}

MeshRecord SimpleMesh(std::int16_t vertices) {
  MeshRecord m{.CentreX = 1, .CentreY = 2, .CentreZ = 3, .CollisionSize = 100, .NumVertices = vertices, .NumNormals = 1,
               .Normals = {{0, -16384, 0}}, .NumFaces = 1, .Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 2}, 5, 0}}};
  for (std::int16_t i = 0; i < vertices; ++i) m.Vertices.push_back({static_cast<std::int16_t>(i * 10), 0, 0});
  return m;
}

MeshRecord SquareMesh(std::int16_t half, std::int16_t z, std::int16_t x, std::int16_t texture) {
  const auto left = std::int16_t(x - half), right = std::int16_t(x + half), top = std::int16_t(-half);
  return {.NumVertices = 4,
          .Vertices = {{left, top, z}, {right, top, z}, {right, half, z}, {left, half, z}},
          .NumNormals = 1,
          .Normals = {{0, 0, -16384}},
          .NumFaces = 1,
          .Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, texture, 0}}};
}

Bytes WadFileBytes(const WadDocument& document) { return WadLayout::Of(document).bytes(); }

Bytes SwdFileBytes(std::array<std::int32_t, 3> counts, std::array<std::size_t, 3> dataBytes) {
  Bytes out;
  ByteWriter w(out);
  w.i32(-3);
  for (std::size_t s = 0; s < 3; ++s) {
    w.i32(counts[s]);
    for (std::size_t i = 0; i < dataBytes[s]; ++i) w.u8(static_cast<std::uint8_t>(s * 50 + i % 50 + 1));
  }
  return out;
}

WadLayout WadLayout::Of(const WadDocument& d) {
  WadLayout l;
  l.version = d.Version;
  l.counts = {d.NumTextInfo, d.NumTextData, d.NumMeshPointers, d.NumMeshData, d.NumAnimations, d.NumStateChanges,
              d.NumAnimDispatches, d.NumAnimCommands, d.NumMeshTrees, d.NumFrames, d.NumMoveables, d.NumStaticMeshes};
  l.data = {bytesOf(d.TextInfo), bytesOf(d.TextData), bytesOf(d.MeshPointers), d.MeshData, bytesOf(d.Animations),
            bytesOf(d.StateChanges), bytesOf(d.AnimDispatches), bytesOf(d.AnimCommands), bytesOf(d.MeshTrees),
            bytesOf(d.Frames), bytesOf(d.Moveables), bytesOf(d.StaticMeshes)};
  return l;
}

Bytes WadLayout::bytes() const {
  Bytes out;
  ByteWriter w(out);
  w.i32(version);
  for (int i = 0; i < kSections; ++i) {
    w.i32(counts[static_cast<std::size_t>(i)]);
    w.bytes(data[static_cast<std::size_t>(i)]);
  }
  return out;
}

std::size_t WadLayout::countOffset(int index) const {
  std::size_t offset = 4;
  for (int i = 0; i < index; ++i) offset += 4 + data[static_cast<std::size_t>(i)].size();
  return offset;
}

}  // namespace tarnlow::test
