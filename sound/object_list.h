#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sound/sound_table.h"

namespace tarnlow {

// One line of a .was: an object's name and the path the builder's tool kept
// for it.
struct ObjectListEntry {
  std::string name;
  std::string path;
  friend bool operator==(const ObjectListEntry&, const ObjectListEntry&) = default;
};

// A .was as read, with what was wrong in it (WasEmpty, WasLineWithoutColon).
struct ObjectListRead {
  std::vector<ObjectListEntry> entries;
  std::vector<SoundProblem> problems;
};

// Reads a .was's text: one `NAME:PATH` line per object, split at the first
// colon (the path holds one too); a CR before the LF is dropped, and the
// Windows-1252 text is returned as UTF-8. A line
// without a colon is kept as a name with an empty path and said. Never fails.
ObjectListRead ReadObjectList(std::string_view text);

// The .was for `names` (the written WAD's moveables, sprite sequences and
// statics, in that order), each line's path built the way `source`'s lines
// build theirs from their names: the text before and after the name in the
// first line whose path holds its name. Without such a line, a neutral
// path of the same shape: `Z:\OBJECTS\NAME.prk`. Never fails.
std::string WriteObjectList(const std::vector<std::string>& names, const std::vector<ObjectListEntry>& source);

}  // namespace tarnlow
