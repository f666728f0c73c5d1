#include "edit/merge_text.h"

#include <algorithm>

namespace tarnlow {

namespace {

std::string counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string withShared(std::size_t fresh, std::size_t shared, const char* one, const char* many) {
  std::string text = counted(fresh + shared, one, many);
  if (shared > 0) text += " (" + std::to_string(shared) + " shared)";
  return text;
}

}  // namespace

std::vector<std::pair<std::filesystem::path, std::vector<Finding>>> CarriedBySource(
    const std::vector<CarriedFinding>& carried) {
  std::vector<std::pair<std::filesystem::path, std::vector<Finding>>> bySource;
  for (const CarriedFinding& c : carried) {
    auto known = std::find_if(bySource.begin(), bySource.end(), [&](const auto& s) { return s.first == c.source; });
    if (known == bySource.end()) known = bySource.insert(bySource.end(), {c.source, {}});
    known->second.push_back(c.finding);
  }
  return bySource;
}

bool IsConflict(const MergeSound& sound) {
  return sound.outcome == SoundOutcome::Conflict || sound.outcome == SoundOutcome::Taken;
}

std::string BringsText(const MovedObject& moved) {
  std::string text = withShared(moved.meshesNew, moved.meshesShared, "mesh", "meshes");
  if (!moved.isStatic) text += ", " + counted(moved.animations, "animation", "animations");
  text += ", " + withShared(moved.rectanglesNew, moved.rectanglesShared, "texture rectangle", "texture rectangles");
  const auto added = std::count_if(moved.sounds.begin(), moved.sounds.end(),
                                   [](const MergeSound& s) { return s.outcome == SoundOutcome::Added; });
  const auto conflicts = std::count_if(moved.sounds.begin(), moved.sounds.end(), IsConflict);
  if (!moved.sounds.empty()) text += ", " + counted(moved.sounds.size(), "sound", "sounds");
  if (added > 0) text += " (" + std::to_string(added) + " added)";
  if (conflicts > 0) text += ", " + counted(static_cast<std::size_t>(conflicts), "conflict", "conflicts");
  return text;
}

}  // namespace tarnlow
