#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow {

struct ObjectNameTables;
class SampleFolder;
struct SoundSet;
struct SoundTable;

// What the check knows beyond the WAD, each part optional: the sound files
// beside it, the samples folder, and the object names (the .was lists
// objects by name). Declared here without the sound headers, which Qt code
// must not meet: SoundTable::slots is one of Qt's keywords.
struct CheckSounds {
  const SoundSet* set = nullptr;
  const SampleFolder* samples = nullptr;
  const ObjectNameTables* names = nullptr;
};

// The rule of the warning that a key frame lies far from its stored box:
// a viewer shows the boxes for it.
inline constexpr const char* kKeyFrameBoxRule = "key-frame-box";

// Runs every rule on a WAD and weighs what they found by use (see
// WeighByUse): what is wrong, one finding per fault, grouped by object (in
// moveable order), then the WAD-wide sections in file order. Each finding
// names its rule. With `sounds`, the sound files beside the WAD are checked
// too and Play Sounds are named by their samples. Never fails; an empty
// result means every reference holds.
//
// `judged`, when not empty, says by moveable position whose key frames are
// decoded and posed; the others' are left, as when they are known to be
// alike in a WAD already checked (the merge's proof).
std::vector<Finding> CheckWad(const WadDocument& document, const CheckSounds& sounds = {},
                              const std::vector<bool>& judged = {});

// Counts by severity.
struct CheckCounts {
  std::size_t errors = 0;
  std::size_t warnings = 0;
  std::size_t notes = 0;
  friend bool operator==(const CheckCounts&, const CheckCounts&) = default;
};
CheckCounts CountFindings(const std::vector<Finding>& findings);

// "3 errors, 1 warning, 0 notes" or "no problems found".
std::string CheckSummaryLine(const CheckCounts& counts);

}  // namespace tarnlow
