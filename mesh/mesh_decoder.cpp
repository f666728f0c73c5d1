#include "mesh/mesh_decoder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "wad/byte_reader.h"
#include "wad/bytes.h"

namespace tarnlow {

namespace {

constexpr std::uint16_t kMaxCountWord = 32767;
constexpr std::uint32_t kMaxCollisionSize = 2147483647;
// The shade block's byte length is a signed 16-bit value in the file's
// writers, so no more than 16383 shades fit.
constexpr int kMaxShades = 16383;
// Centre (6), collision size (4) and vertex count (2): the bytes every mesh has.
constexpr std::size_t kHeaderBytes = 12;

std::string hexWord(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
  return text;
}

std::string atByte(std::size_t offset) { return " at byte " + std::to_string(offset) + " of the mesh data"; }

// What a failing read was after: "face 3 vertex index", "12 normals". Kept
// as its parts, so that a decode that succeeds formats no text at all.
struct Label {
  const char* what;
  int face = -1;         // the face it belongs to, when it does
  long long count = -1;  // how many were wanted, for a list
  std::string text() const {
    std::string out = what;
    if (count >= 0) out = std::to_string(count) + " " + out;
    if (face >= 0) out = "face " + std::to_string(face) + " " + out;
    return out;
  }
};

// One decode: a running position in MeshData and the first failure met.
// Every read is preceded by a bounds check, so the reader never overruns and
// each failure names the byte where the missing or bad value stands.
class MeshDecoder {
 public:
  // With `keep` false the lists are checked and stepped over, not stored:
  // the record keeps its counts only.
  MeshDecoder(const Bytes& meshData, std::size_t start, bool keep = true)
      : reader_(meshData, PastEnd::IsError, start), keep_(keep) {}

  // Hears the Texture word of every triangle and quad as it is read.
  void listenToTextures(FaceTextureHandler handler) { onFaceTexture_ = std::move(handler); }

  // Bytes the decode has taken from its start.
  std::size_t position() const { return reader_.position(); }

  MeshResult<MeshRecord> decode(const UnknownFaceHandler& onUnknownFace) {
    MeshRecord mesh;
    if (!need(kHeaderBytes, Label{"mesh header (centre, collision size, vertex count)"})) return takeFailure();
    mesh.CentreX = reader_.i16();
    mesh.CentreY = reader_.i16();
    mesh.CentreZ = reader_.i16();

    const std::size_t collisionAt = reader_.position();
    const std::uint32_t collision = reader_.u32();
    if (collision > kMaxCollisionSize) {
      return failure(MeshFailureKind::Overflow, "collision size " + hexWord(collision, 8), collisionAt);
    }
    mesh.CollisionSize = static_cast<std::int32_t>(collision);

    std::uint16_t vertexCount = 0;
    if (!countWord(Label{"vertex count"}, vertexCount)) return takeFailure();
    if (vertexCount == 0) {
      return failure(MeshFailureKind::OutOfRange, "vertex count 0", reader_.position() - 2);
    }
    if (!need(6 * std::size_t{vertexCount}, Label{"vertices", -1, vertexCount})) return takeFailure();
    mesh.NumVertices = static_cast<std::int16_t>(vertexCount);
    mesh.Vertices = readVectors(vertexCount);

    if (!need(2, Label{"normal count"})) return takeFailure();
    const std::size_t normalCountAt = reader_.position();
    const std::int16_t normalCount = reader_.i16();
    if (normalCount == 0) return failure(MeshFailureKind::OutOfRange, "normal count 0", normalCountAt);
    mesh.NumNormals = normalCount;
    if (normalCount > 0) {
      if (!need(6 * static_cast<std::size_t>(normalCount), Label{"normals", -1, normalCount})) {
        return takeFailure();
      }
      mesh.Normals = readVectors(static_cast<std::size_t>(normalCount));
    } else {
      const int shadeCount = -static_cast<int>(normalCount);
      if (shadeCount > kMaxShades) {
        return failure(MeshFailureKind::Overflow,
                       std::to_string(shadeCount) + " shades (normal count word " +
                           hexWord(static_cast<std::uint16_t>(normalCount), 4) + ")",
                       normalCountAt);
      }
      if (!need(2 * static_cast<std::size_t>(shadeCount), Label{"shades", -1, shadeCount})) {
        return takeFailure();
      }
      mesh.Shades = readShades(static_cast<std::size_t>(shadeCount));
    }

    std::uint16_t faceCount = 0;
    if (!countWord(Label{"face count"}, faceCount)) return takeFailure();
    mesh.NumFaces = static_cast<std::int16_t>(faceCount);
    // Faces are checked one by one, in file order, so that a bad word in an
    // early face is reported as what it is even when later faces are
    // missing. Every face has at least its type word, which bounds the
    // reservation by the bytes that are left.
    if (keep_) mesh.Faces.reserve(std::min<std::size_t>(faceCount, reader_.remaining() / 2));
    for (int i = 0; i < faceCount; ++i) {
      MeshFace face;
      if (!readFace(i, face, onUnknownFace)) return takeFailure();
      if (onFaceTexture_ && (face.FaceType == MeshFace::kTriangle || face.FaceType == MeshFace::kQuad)) {
        onFaceTexture_(face.FaceType, face.Texture);
      }
      if (keep_) mesh.Faces.push_back(std::move(face));
    }
    return mesh;
  }

 private:
  bool readFace(int index, MeshFace& face, const UnknownFaceHandler& onUnknownFace) {
    std::uint16_t type = 0;
    if (!countWord(Label{"type", index}, type)) return false;
    face.FaceType = static_cast<std::int16_t>(type);
    std::size_t corners = 0;
    if (face.FaceType == MeshFace::kTriangle) corners = 3;
    if (face.FaceType == MeshFace::kQuad) corners = 4;
    if (corners == 0) {
      // An unknown type is a bare type word: the next face starts right behind it.
      if (onUnknownFace) onUnknownFace(index);
      return true;
    }
    // Word by word, as the file is laid out: a bad index word is an
    // overflow even when the face is cut short after it.
    if (keep_) face.Vertices.reserve(corners);
    for (std::size_t c = 0; c < corners; ++c) {
      std::uint16_t vertex = 0;
      if (!countWord(Label{"vertex index", index}, vertex)) return false;
      if (keep_) face.Vertices.push_back(static_cast<std::int16_t>(vertex));
    }
    if (!need(4, Label{"texture and attributes", index})) return false;
    face.Texture = reader_.i16();
    face.Attributes = reader_.i16();
    return true;
  }

  // Reads a count word; fails with an overflow at 32768 or more.
  bool countWord(const Label& what, std::uint16_t& value) {
    if (!need(2, what)) return false;
    const std::size_t at = reader_.position();
    value = reader_.u16();
    if (value > kMaxCountWord) {
      setFailure(MeshFailureKind::Overflow, what.text() + " word " + hexWord(value, 4), at);
      return false;
    }
    return true;
  }

  // Fails as out of range unless `count` bytes stand at the current position.
  bool need(std::size_t count, const Label& what) {
    if (reader_.canRead(count)) return true;
    setFailure(MeshFailureKind::OutOfRange,
               what.text() + ": " + std::to_string(count) + " bytes needed, " + std::to_string(reader_.remaining()) +
                   " left",
               reader_.position());
    return false;
  }

  std::vector<MeshVector> readVectors(std::size_t count) {
    if (!keep_) {
      reader_.skip(6 * count);
      return {};
    }
    std::vector<MeshVector> out(count);
    for (MeshVector& v : out) {
      v.X = reader_.i16();
      v.Y = reader_.i16();
      v.Z = reader_.i16();
    }
    return out;
  }

  // The shade block is taken in one piece, then each little-endian word is
  // assembled from its two bytes.
  std::vector<std::int16_t> readShades(std::size_t count) {
    if (!keep_) {
      reader_.skip(2 * count);
      return {};
    }
    Bytes block(2 * count);
    reader_.bytes(block);
    ByteReader words(block, PastEnd::IsError);
    std::vector<std::int16_t> out(count);
    for (std::int16_t& s : out) s = words.i16();
    return out;
  }

  void setFailure(MeshFailureKind kind, std::string what, std::size_t at) {
    failure_ = MeshFailure{kind, std::move(what) + atByte(at), at};
  }
  MeshFailure failure(MeshFailureKind kind, std::string what, std::size_t at) {
    setFailure(kind, std::move(what), at);
    return takeFailure();
  }
  MeshFailure takeFailure() { return std::move(failure_); }

  ByteReader reader_;
  bool keep_ = true;
  FaceTextureHandler onFaceTexture_;
  MeshFailure failure_{MeshFailureKind::OutOfRange, {}, 0};
};

constexpr std::array<MeshVector, 5> kNullMeshShape = {{
    {-5, 12, 177},
    {116, 120, -177},
    {-116, 120, -177},
    {-116, -120, -177},
    {116, -120, -177},
}};

}  // namespace

std::string Describe(MeshFailureKind kind) {
  return kind == MeshFailureKind::Overflow ? "overflow" : "out of range";
}

// The detail already says where the fault stands (a byte of the mesh data,
// or the position or pointer that led nowhere), so it is shown as it is.
std::string Describe(const MeshFailure& failure) { return Describe(failure.kind) + ": " + failure.detail; }

namespace {

// Where mesh `meshIndex` starts in MeshData, or why it has no start.
std::variant<std::size_t, MeshFailure> meshStart(const WadDocument& document, std::int64_t meshIndex) {
  const std::size_t pointerCount = document.MeshPointers.size();
  if (meshIndex < 0 || static_cast<std::uint64_t>(meshIndex) >= pointerCount) {
    return MeshFailure{MeshFailureKind::OutOfRange,
                       "mesh position " + std::to_string(meshIndex) + " is outside the " +
                           std::to_string(pointerCount) + " mesh pointers",
                       0};
  }
  const std::int32_t pointer = document.MeshPointers[static_cast<std::size_t>(meshIndex)];
  if (pointer < 0) {
    return MeshFailure{MeshFailureKind::OutOfRange,
                       "mesh pointer " + std::to_string(pointer) + " of mesh " + std::to_string(meshIndex) +
                           " is below 0",
                       0};
  }
  const auto start = static_cast<std::size_t>(pointer);
  if (start > document.MeshData.size()) {
    return MeshFailure{MeshFailureKind::OutOfRange,
                       "mesh pointer " + std::to_string(pointer) + " of mesh " + std::to_string(meshIndex) +
                           " is past the end of the " + std::to_string(document.MeshData.size()) +
                           " bytes of mesh data",
                       start};
  }
  return start;
}

}  // namespace

MeshResult<MeshRecord> ReadMesh(const WadDocument& document, std::int64_t meshIndex,
                                const UnknownFaceHandler& onUnknownFace) {
  std::variant<std::size_t, MeshFailure> start = meshStart(document, meshIndex);
  if (auto* failure = std::get_if<MeshFailure>(&start)) return std::move(*failure);
  MeshDecoder decoder(document.MeshData, std::get<std::size_t>(start));
  return decoder.decode(onUnknownFace);
}

MeshResult<MeshExtent> MeasureMesh(const WadDocument& document, std::int64_t meshIndex,
                                   const UnknownFaceHandler& onUnknownFace,
                                   const FaceTextureHandler& onFaceTexture) {
  std::variant<std::size_t, MeshFailure> start = meshStart(document, meshIndex);
  if (auto* failure = std::get_if<MeshFailure>(&start)) return std::move(*failure);
  MeshDecoder decoder(document.MeshData, std::get<std::size_t>(start), false);
  decoder.listenToTextures(onFaceTexture);
  MeshResult<MeshRecord> counted = decoder.decode(onUnknownFace);
  if (auto* failure = std::get_if<MeshFailure>(&counted)) return std::move(*failure);
  const MeshRecord& mesh = std::get<MeshRecord>(counted);
  return MeshExtent{decoder.position() - std::get<std::size_t>(start), mesh.NumVertices, mesh.NumNormals,
                    mesh.NumFaces};
}

bool BeginsWithNullMeshShape(const WadDocument& document, std::int64_t meshIndex) {
  const std::variant<std::size_t, MeshFailure> start = meshStart(document, meshIndex);
  const auto* at = std::get_if<std::size_t>(&start);
  if (at == nullptr) return false;
  ByteReader reader(document.MeshData, PastEnd::IsError, *at + kHeaderBytes - 2);
  if (!reader.canRead(2 + 6 * kNullMeshShape.size()) || reader.u16() != kNullMeshShape.size()) return false;
  for (const MeshVector& corner : kNullMeshShape) {
    const MeshVector v{reader.i16(), reader.i16(), reader.i16()};
    if (!(v == corner)) return false;
  }
  return true;
}

MeshResult<bool> IsNullMesh(const WadDocument& document, std::int64_t meshIndex,
                            const UnknownFaceHandler& onUnknownFace) {
  // Measured, not read: whether it decodes is all the rest is asked for.
  MeshResult<MeshExtent> extent = MeasureMesh(document, meshIndex, onUnknownFace);
  if (auto* failure = std::get_if<MeshFailure>(&extent)) return std::move(*failure);
  return BeginsWithNullMeshShape(document, meshIndex);
}

bool HasNullMeshShape(const MeshRecord& mesh) {
  if (mesh.NumVertices != 5 || mesh.Vertices.size() != kNullMeshShape.size()) return false;
  for (std::size_t i = 0; i < kNullMeshShape.size(); ++i) {
    if (!(mesh.Vertices[i] == kNullMeshShape[i])) return false;
  }
  return true;
}

}  // namespace tarnlow
