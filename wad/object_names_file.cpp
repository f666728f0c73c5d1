#include "wad/object_names_file.h"

#include <limits>
#include <optional>

#include "wad/atomic_file.h"
#include "wad/byte_writer.h"
#include "wad/codepage.h"
#include "wad/wad_error.h"

namespace tarnlow {

namespace {

void putCount(ByteWriter& w, std::size_t count, const char* section) {
  if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw WadError(kOverflow, "Overflow: too many items for a 32-bit count", section);
  }
  w.i32(static_cast<std::int32_t>(count));
}

void putString(ByteWriter& w, const std::string& text, const char* section) {
  const std::optional<std::string> encoded = Utf8ToCp1252(text);
  if (!encoded) {
    throw WadError(kOverflow, "Overflow: \"" + text + "\" holds a character that Windows-1252 cannot encode", section);
  }
  putCount(w, encoded->size(), section);
  for (const char c : *encoded) w.u8(static_cast<std::uint8_t>(c));
}

void putStrings(ByteWriter& w, const std::vector<std::string>& items, const char* section) {
  putCount(w, items.size(), section);
  for (const std::string& item : items) putString(w, item, section);
}

void putPairs(ByteWriter& w, const std::vector<std::pair<std::string, std::int32_t>>& items, const char* section) {
  putCount(w, items.size(), section);
  for (const auto& [name, number] : items) {
    putString(w, name, section);
    w.i32(number);
  }
}

}  // namespace

Bytes EncodeObjectNames(const ObjectNamesFileContent& content) {
  Bytes out;
  ByteWriter w(out);
  putStrings(w, content.objectNames, "section 1 (object names)");
  putStrings(w, content.meshNames, "section 2 (mesh names)");
  putPairs(w, content.section3, "section 3");
  putPairs(w, content.section4, "section 4");
  putPairs(w, content.section5, "section 5");
  putPairs(w, content.section6, "section 6");
  return out;
}

void WriteObjectNames(const std::filesystem::path& path, const ObjectNamesFileContent& content) {
  const Bytes bytes = EncodeObjectNames(content);
  AtomicFile file(path);
  file.write(bytes);
  file.commit();
}

}  // namespace tarnlow
