// Object-name file: any bytes load without an exception; the tables are
// filled only inside their limits, and lookups outside rows 0 to 500 give
// nothing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "fuzz/fuzz_support.h"
#include "wad/object_names.h"

namespace {

using tarnlow::ObjectNameTables;
using tarnlow::fuzz::Require;

// Well-formed UTF-8: a lead byte and as many continuation bytes as it says.
bool IsUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t extra = 0;
    if (lead >= 0xF0 && lead <= 0xF4) extra = 3;
    else if (lead >= 0xE0) extra = lead <= 0xEF ? 2 : 99;
    else if (lead >= 0xC2) extra = 1;
    else if (lead >= 0x80) return false;
    if (extra == 99 || i + extra >= s.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

std::size_t nonZeroBytes(const std::string& s) {
  return s.size() - static_cast<std::size_t>(std::count(s.begin(), s.end(), '\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tarnlow::fuzz::ScratchFile input("TR4Objects.dat");
  input.write(data, size);

  const tarnlow::ObjectNamesLoad load = tarnlow::LoadObjectNames(input.path());
  const ObjectNameTables& t = load.tables;
  if (load.fault) Require(!load.fault->description().empty(), "a fault has a description");

  // Column 0 is never filled.
  for (int row = 0; row < ObjectNameTables::kRows; ++row) {
    Require(t.ObjectNames[0][static_cast<std::size_t>(row)].empty(), "column 0 of ObjectNames stays empty");
    Require(t.ObjectNumbers[0][static_cast<std::size_t>(row)] == 0, "column 0 of ObjectNumbers stays zero");
  }
  // Each stored character but the zeros that stand for bytes past the end
  // came from one byte of the file (at most 3 UTF-8 bytes per Windows-1252
  // character), so the names together cannot outgrow three times the file.
  std::size_t textBytes = 0;
  for (const auto& column : t.ObjectNames) {
    for (const std::string& name : column) {
      Require(IsUtf8(name), "names are UTF-8");
      textBytes += nonZeroBytes(name);
    }
  }
  for (int i = 0; i < ObjectNameTables::kMeshNames; ++i) {
    const std::string& name = t.MeshNames[static_cast<std::size_t>(i)];
    Require(IsUtf8(name), "mesh names are UTF-8");
    // A default name is "Mesh" and its index; a file name is counted.
    if (name != "Mesh " + std::to_string(i)) textBytes += nonZeroBytes(name);
  }
  Require(textBytes <= 3 * size, "names come from the file's bytes");

  for (std::int32_t id : {0, 1, 250, 500}) {
    const std::string* name = t.ObjectName(id);
    Require(name == &t.ObjectNames[ObjectNameTables::kObjectColumn][static_cast<std::size_t>(id)],
            "ids 0 to 500 name column 4");
  }
  for (std::int32_t id : {-1, 501, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}) {
    Require(t.ObjectName(id) == nullptr, "ids outside 0 to 500 have no name");
  }
  return 0;
}
