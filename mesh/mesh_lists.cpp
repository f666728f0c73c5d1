#include "mesh/mesh_lists.h"

#include <cstdint>
#include <cstdio>

namespace tarnlow {

namespace {

// List positions are signed 16-bit: positions 0 to 32767.
constexpr std::size_t kMaxListLines = 32768;

}  // namespace

std::string MeshLabel(std::int64_t j) {
  char number[32];
  std::snprintf(number, sizeof number, " %02lld", static_cast<long long>(j));
  return std::string("Mesh") + number;
}

std::vector<std::string> ObjectListLines(const WadDocument& document, const ObjectNameTables& names) {
  std::vector<std::string> lines;
  if (document.Moveables.size() > kMaxListLines) return lines;
  lines.reserve(document.Moveables.size());
  for (std::size_t i = 0; i < document.Moveables.size(); ++i) {
    const std::string* name = names.ObjectName(document.Moveables[i].ObjectID);
    if (name == nullptr) break;
    lines.push_back(*name);
  }
  return lines;
}

std::vector<MeshListLine> MeshListLines(const WadDocument& document, std::size_t moveableIndex,
                                        const UnknownFaceHandler& onUnknownFace) {
  std::vector<MeshListLine> lines;
  if (moveableIndex >= document.Moveables.size()) return lines;
  const MoveableRecord moveable = document.Moveables[moveableIndex];
  const std::size_t pointerCount = document.MeshPointers.size();

  for (int j = 0; j < moveable.NumMeshes; ++j) {
    MeshListLine line{MeshLabel(j), std::nullopt};
    // The position is a signed 16-bit sum: beyond 32767 it names no mesh.
    const int k = moveable.StartingMesh + j;
    if (k < 0 || k > kMaxMeshPosition || static_cast<std::size_t>(k) >= pointerCount) {
      line.failure = MeshFailure{MeshFailureKind::OutOfRange,
                                 "mesh position " + std::to_string(k) + " (first mesh " +
                                     std::to_string(moveable.StartingMesh) + " + " + std::to_string(j) +
                                     ") is outside the " + std::to_string(pointerCount) + " mesh pointers",
                                 0};
    } else if (document.MeshPointers[static_cast<std::size_t>(k)] == 0) {
      // A zero pointer marks a dummy mesh; it is not decoded.
      line.text += " DUMMY";
    } else {
      MeshResult<bool> isNull = IsNullMesh(document, k, onUnknownFace);
      if (auto* failure = std::get_if<MeshFailure>(&isNull)) {
        line.failure = std::move(*failure);
      } else if (std::get<bool>(isNull)) {
        line.text += " NULL";
      }
    }
    if (line.failure) {
      // The line stays, so the numbering of the meshes after it is kept. The
      // mark is in parentheses and lower case so that it cannot be taken for
      // the DUMMY and NULL marks, and names only the kind of failure: the
      // detail, with its byte offset, is for the one message that names it.
      line.text += " (unreadable: " + Describe(line.failure->kind) + ")";
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace tarnlow
