#include "mesh/static_meshes.h"

#include <stdexcept>

#include "mesh/slot_names.h"
#include "wad/byte_reader.h"

namespace tarnlow {

namespace {

// The name file keeps the statics' names in its third section, each with
// the slot it names as its number.

}  // namespace

StaticMeshEntry ReadStaticMeshEntry(const WadDocument& document, std::size_t index) {
  if (index >= document.StaticMeshes.size()) throw std::out_of_range("no static mesh " + std::to_string(index));
  // Records are decoded on access: the copy must outlive the reader.
  const StaticMeshRecord record = document.StaticMeshes[index];
  ByteReader r(record.Bytes, PastEnd::ReadsZero);
  StaticMeshEntry entry;
  entry.ObjectId = r.i32();
  entry.Mesh = r.i16();
  return entry;
}

std::string StaticMeshName(const ObjectNameTables& names, std::int32_t objectId) {
  const auto& column = names.ObjectNames[kStaticsColumn];
  const auto& numbers = names.ObjectNumbers[kStaticsColumn];
  for (std::size_t row = 0; row < column.size(); ++row) {
    // Rows the file left out read as an empty name numbered 0.
    if (numbers[row] == objectId && !column[row].empty()) return column[row];
  }
  return {};
}

std::vector<std::string> StaticMeshLines(const WadDocument& document, const ObjectNameTables& names) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < document.StaticMeshes.size(); ++i) lines.push_back(StaticMeshTitle(document, &names, i));
  return lines;
}

}  // namespace tarnlow
