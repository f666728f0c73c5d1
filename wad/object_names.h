#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "wad/wad_error.h"

namespace tarnlow {

// The tables of the object-name file TR4Objects.dat. Rows are object ids
// 0 to 500; column 4 of ObjectNames names the objects, the other columns,
// ObjectNumbers and MeshNames are kept but not shown. Strings are UTF-8.
struct ObjectNameTables {
  static constexpr int kColumns = 6;
  static constexpr int kRows = 501;
  static constexpr int kMeshNames = 81;
  static constexpr int kObjectColumn = 4;

  // Addressed as ObjectNames[column][row]. Strings start empty by
  // themselves; a "{}" here crashes clang 14, which the fuzz build uses.
  std::array<std::array<std::string, kRows>, kColumns> ObjectNames;
  std::array<std::array<std::int32_t, kRows>, kColumns> ObjectNumbers{};
  std::array<std::string, kMeshNames> MeshNames{};

  // The name of object `id`, or nothing when id is outside 0 to 500.
  const std::string* ObjectName(std::int32_t id) const {
    if (id < 0 || id >= kRows) return nullptr;
    return &ObjectNames[kObjectColumn][static_cast<std::size_t>(id)];
  }
};

// What LoadObjectNames found: the tables as far as they could be filled and,
// when the file broke off, the fault that stopped the reading.
struct ObjectNamesLoad {
  ObjectNameTables tables;
  std::optional<WadError> fault;
};

// Reads the object-name file at `path`. A missing file reads as an empty one
// (empty names, zero numbers, default mesh names "Mesh 0" to "Mesh 80") and
// is not created. Bytes are taken through Windows-1252.
//
// Never throws for a bad file: a count above a table's limit (501 rows, 81
// mesh names), a negative mesh-name count, a count of the most negative
// 32-bit value or a file that exists but cannot be opened stops the reading
// there; the items stored before stay, nothing is stored outside a table,
// and `fault` says what happened and where.
ObjectNamesLoad LoadObjectNames(const std::filesystem::path& path);

}  // namespace tarnlow
