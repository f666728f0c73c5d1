#include "wad/object_names.h"

#include <algorithm>
#include <limits>
#include <string>
#include <system_error>

#include "wad/byte_reader.h"
#include "wad/codepage.h"
#include "wad/input_file.h"

namespace tarnlow {

namespace {

// The name file is a few kilobytes; anything this large is not one, and is
// refused rather than read into memory whole.
constexpr std::uint64_t kMaxNameFileBytes = std::uint64_t{64} << 20;

Bytes readNameFile(const std::filesystem::path& path) {
  InputFile file(path);
  if (file.size() > kMaxNameFileBytes) {
    throw WadError(kOutOfMemory,
                   "The object-name file is " + std::to_string(file.size()) +
                       " bytes, more than the 64 MiB a name file may take",
                   path.string());
  }
  return file.take(file.size());
}

// Walks the six sections over the file's bytes, storing as it goes. A fault
// is thrown as WadError and ends the walk; what was stored stays.
class NameFileParser {
 public:
  NameFileParser(const Bytes& bytes, ObjectNameTables& tables)
      : reader_(bytes, PastEnd::ReadsZero), tables_(tables) {}

  void run() {
    readNames("section 1 (object names)", tables_.ObjectNames[ObjectNameTables::kObjectColumn]);
    readMeshNames();
    readNamesAndNumbers("section 3", 3);
    readNamesAndNumbers("section 4", 2);
    readNamesAndNumbers("section 5", 1);
    readNamesAndNumbers("section 6", 5);
  }

 private:
  std::string at(std::uint64_t offset) const { return "byte " + std::to_string(offset); }

  // A count whose upper bound (count - 1) still fits in 32 bits; a count of 0
  // or less means no items.
  std::int32_t readCount(const std::string& section) {
    const std::size_t offset = reader_.position();
    const std::int32_t count = reader_.i32();
    if (count == std::numeric_limits<std::int32_t>::min()) {
      throw WadError(kOverflow,
                     "Overflow: the count of " + section + " is " + std::to_string(count) +
                         ", so its last index leaves the 32-bit range",
                     section + " count at " + at(offset));
    }
    return count;
  }

  // Item `index` must fit the table; the items before it are kept.
  void requireRoom(const std::string& section, std::int32_t count, std::int32_t index, int limit) {
    if (index < limit) return;
    throw WadError(kSubscriptOutOfRange,
                   "Subscript out of range: " + section + " holds " + std::to_string(count) + " items, more than the " +
                       std::to_string(limit) + " its table has room for; the first " + std::to_string(limit) +
                       " were kept",
                   section + " item " + std::to_string(index) + " at " + at(reader_.position()));
  }

  std::string readString() {
    const std::int32_t length = reader_.i32();
    if (length <= 0) return {};
    // A string no name file could hold is refused before anything else, as
    // a file that large would be.
    if (static_cast<std::uint64_t>(length) > kMaxNameFileBytes) {
      throw WadError(kOutOfMemory,
                     "Out of memory: a string of " + std::to_string(length) + " characters, more than a name file holds",
                     "string at " + at(reader_.position() - 4));
    }
    // A name ends where the file does: the zeros a read past the end gives
    // are not characters of it. Keeping them would let a file of a few bytes
    // claim megabytes of name; this way a name costs what the file holds.
    const std::size_t available = std::min<std::size_t>(static_cast<std::size_t>(length), reader_.remaining());
    std::string raw(available, '\0');
    for (char& c : raw) c = static_cast<char>(reader_.u8());
    reader_.skip(static_cast<std::size_t>(length) - available);
    return Cp1252ToUtf8(raw);
  }

  template <std::size_t N>
  void readNames(const std::string& section, std::array<std::string, N>& column) {
    const std::int32_t count = readCount(section);
    for (std::int32_t i = 0; i < count; ++i) {
      requireRoom(section, count, i, static_cast<int>(N));
      column[static_cast<std::size_t>(i)] = readString();
    }
  }

  void readMeshNames() {
    const std::string section = "section 2 (mesh names)";
    const std::size_t offset = reader_.position();
    const std::int32_t count = readCount(section);
    for (std::int32_t i = 0; i < count; ++i) {
      requireRoom(section, count, i, ObjectNameTables::kMeshNames);
      tables_.MeshNames[static_cast<std::size_t>(i)] = readString();
    }
    // The default names start at the count, which must not lie before the
    // table's first entry.
    if (count < 0) {
      throw WadError(kSubscriptOutOfRange,
                     "Subscript out of range: the count of " + section + " is " + std::to_string(count) +
                         ", so the default mesh names would start before the first entry",
                     section + " count at " + at(offset));
    }
    for (int i = count; i < ObjectNameTables::kMeshNames; ++i) {
      tables_.MeshNames[static_cast<std::size_t>(i)] = "Mesh " + std::to_string(i);
    }
  }

  void readNamesAndNumbers(const std::string& section, int column) {
    const std::int32_t count = readCount(section);
    auto& names = tables_.ObjectNames[static_cast<std::size_t>(column)];
    auto& numbers = tables_.ObjectNumbers[static_cast<std::size_t>(column)];
    for (std::int32_t i = 0; i < count; ++i) {
      requireRoom(section, count, i, ObjectNameTables::kRows);
      names[static_cast<std::size_t>(i)] = readString();
      numbers[static_cast<std::size_t>(i)] = reader_.i32();
    }
  }

  ByteReader reader_;
  ObjectNameTables& tables_;
};

}  // namespace

ObjectNamesLoad LoadObjectNames(const std::filesystem::path& path) {
  ObjectNamesLoad load;
  try {
    // A missing file reads as an empty one and is never created; anything
    // else at the path (a folder, a file without permission) is opened and
    // fails there with the file layer's own error.
    std::error_code ec;
    Bytes bytes;
    if (std::filesystem::status(path, ec).type() != std::filesystem::file_type::not_found) bytes = readNameFile(path);
    NameFileParser(bytes, load.tables).run();
  } catch (const WadError& fault) {
    load.fault = fault;
  }
  return load;
}

}  // namespace tarnlow
