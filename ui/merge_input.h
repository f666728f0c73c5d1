#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "edit/merge.h"
#include "wad/wad_document.h"

namespace tarnlow::ui {

// A WAD and the files of its set, held by the Merge dialog while plans and
// proofs that point into it are worked out off the window's thread.
struct MergeInput {
  std::filesystem::path path;
  WadDocument document;
  std::shared_ptr<const SoundTable> sounds;  // null when the set has no .sfx
  std::optional<std::string> objectList;  // the .was text
  // Files of the set that were found but could not be read: the merge goes
  // on without them, and the dialog says so.
  std::vector<std::string> failures;

  // The merge's view of it; valid while this lives.
  MergeWad view() const { return {path, &document, sounds.get(), objectList}; }
};

// Takes `document` (read from `path`) with the sound files and the object
// list beside `path`. Never throws for a file of the set: one that cannot be
// read is left out and named in `failures`.
std::shared_ptr<const MergeInput> LoadMergeInput(const std::filesystem::path& path, WadDocument document);

}  // namespace tarnlow::ui
