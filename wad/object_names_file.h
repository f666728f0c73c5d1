#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "wad/bytes.h"

namespace tarnlow {

// The six sections of an object-name file, in file order, as UTF-8 text.
struct ObjectNamesFileContent {
  std::vector<std::string> objectNames;                         // section 1
  std::vector<std::string> meshNames;                           // section 2
  std::vector<std::pair<std::string, std::int32_t>> section3;  // column 3
  std::vector<std::pair<std::string, std::int32_t>> section4;  // column 2
  std::vector<std::pair<std::string, std::int32_t>> section5;  // column 1
  std::vector<std::pair<std::string, std::int32_t>> section6;  // column 5
};

// Encodes the content in the file form: per section a 32-bit count, then per
// item a 32-bit length and its Windows-1252 bytes (and a 32-bit number in
// sections 3 to 6). Throws WadError(kOverflow) for text that Windows-1252
// cannot encode.
Bytes EncodeObjectNames(const ObjectNamesFileContent& content);

// Writes EncodeObjectNames(content) to `path` atomically. Throws WadError on
// failure, leaving an existing file untouched.
void WriteObjectNames(const std::filesystem::path& path, const ObjectNamesFileContent& content);

}  // namespace tarnlow
