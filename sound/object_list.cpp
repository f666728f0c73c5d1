#include "sound/object_list.h"

#include <optional>

#include "wad/codepage.h"

namespace tarnlow {

ObjectListRead ReadObjectList(std::string_view text) {
  ObjectListRead result;
  if (text.empty()) {
    result.problems.push_back(SoundProblem{SoundProblemKind::WasEmpty, "the .was is empty (0 bytes)"});
    return result;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    if (end > start && text[end - 1] == '\r') --end;
    const std::string line = Cp1252ToUtf8(text.substr(start, end - start));
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) {
      result.problems.push_back(SoundProblem{SoundProblemKind::WasLineWithoutColon,
                                             ".was line " + std::to_string(result.entries.size()) +
                                                 " has no colon between name and path",
                                             -1, static_cast<int>(result.entries.size())});
      result.entries.push_back(ObjectListEntry{line, {}});
    } else {
      result.entries.push_back(ObjectListEntry{line.substr(0, colon), line.substr(colon + 1)});
    }
    start = next;
  }
  return result;
}

std::string WriteObjectList(const std::vector<std::string>& names, const std::vector<ObjectListEntry>& source) {
  std::string before = "Z:\\OBJECTS\\";
  std::string after = ".prk";
  for (const ObjectListEntry& entry : source) {
    const std::size_t at = entry.name.empty() ? std::string::npos : entry.path.rfind(entry.name);
    if (at == std::string::npos) continue;
    before = entry.path.substr(0, at);
    after = entry.path.substr(at + entry.name.size());
    break;
  }
  std::string text;
  for (const std::string& name : names) text += name + ":" + before + name + after + "\n";
  // Text Windows-1252 cannot hold stays UTF-8 rather than being lost.
  return Utf8ToCp1252(text).value_or(text);
}

}  // namespace tarnlow
