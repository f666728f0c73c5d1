#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sound/object_list.h"
#include "sound/sound_table.h"

namespace tarnlow {

// The sound files beside a WAD, as spelled on disk.
struct SoundFilePaths {
  std::optional<std::filesystem::path> sfx;
  std::optional<std::filesystem::path> sam;
  std::optional<std::filesystem::path> was;
};

// The .sfx, .sam and .was of the same name as `wadPath` in its folder, each
// found in any letter case as the SWD is. Each is nothing when no such file
// exists or the folder cannot be read.
SoundFilePaths FindSoundFiles(const std::filesystem::path& wadPath);

// A WAD set's sound files as read.
struct SoundSet {
  SoundFilePaths paths;
  // The table, when a .sfx was read (a .sam that is missing reads as empty).
  std::optional<SoundFilesRead> sounds;
  // The object list, when a .was was read.
  std::optional<ObjectListRead> objects;
  // Each file that was found but could not be read, and a .sfx without its
  // .sam: "KurtisBaddy.sam: Permission denied".
  std::vector<std::string> failures;
};

// Finds and reads the sound files beside `wadPath`. Never throws for a file
// that cannot be read or is larger than any sound file (16 MiB): it is said
// in `failures` and left out.
SoundSet LoadSoundFiles(const std::filesystem::path& wadPath);

}  // namespace tarnlow
