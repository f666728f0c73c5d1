#include "content/diff_text.h"

#include "mesh/static_meshes.h"

namespace tarnlow {

namespace {

std::string counted(std::size_t count, const char* what) { return std::to_string(count) + " " + what; }

template <typename Name>
void slotLines(std::vector<std::string>& lines, const char* heading, const SlotDiff& diff, Name name) {
  if (diff.empty()) {
    lines.push_back(std::string(heading) + ": the same");
    return;
  }
  std::string line = std::string(heading) + ":";
  const char* separator = " ";
  for (const auto& [count, what] : {std::pair{diff.added.size(), "added"}, std::pair{diff.removed.size(), "removed"},
                                    std::pair{diff.changed.size(), "changed"}}) {
    if (count == 0) continue;
    line += separator + counted(count, what);
    separator = ", ";
  }
  lines.push_back(line);
  for (const std::int32_t slot : diff.added) lines.push_back("  + " + name(slot));
  for (const std::int32_t slot : diff.removed) lines.push_back("  - " + name(slot));
  for (const ChangedSlot& changed : diff.changed) {
    std::string text = "  ~ " + name(changed.slot) + ":";
    separator = " ";
    for (const ContentDifference& d : changed.differences) {
      text += separator + std::string(Describe(d.part)) + " (" + d.first + ")";
      separator = "; ";
    }
    lines.push_back(text);
  }
}

// "BADDY_1 (slot 41)", or "slot 41" without a name.
std::string labelled(const std::string& name, const char* kind, std::int32_t slot) {
  const std::string number = kind + std::to_string(slot);
  return name.empty() ? number : name + " (" + number + ")";
}

std::string numbers(const std::vector<std::size_t>& list) {
  std::string text;
  for (std::size_t i = 0; i < list.size(); ++i) text += (i == 0 ? "" : ", ") + std::to_string(list[i]);
  return text;
}

std::string pageLine(const char* heading, const PageDiff& diff) {
  if (diff.empty()) return std::string(heading) + ": the same";
  std::string line = std::string(heading) + ":";
  if (diff.oldPages != diff.newPages) line += " " + std::to_string(diff.oldPages) + " against " + std::to_string(diff.newPages) + ";";
  if (diff.changed.size() == 1) line += " page " + numbers(diff.changed) + " differs";
  else if (!diff.changed.empty()) line += " pages " + numbers(diff.changed) + " differ";
  else line += " the pages both hold are the same";
  return line;
}

}  // namespace

std::string MoveableSlotName(const ObjectNameTables& names, std::int32_t slot) {
  const std::string* name = names.ObjectName(slot);
  return name ? *name : std::string();
}

std::string StaticSlotName(const ObjectNameTables& names, std::int32_t slot) { return StaticMeshName(names, slot); }

std::vector<std::string> DiffLines(const WadDiff& diff, const ObjectNameTables& names) {
  std::vector<std::string> lines;
  slotLines(lines, "objects", diff.moveables,
            [&](std::int32_t slot) { return labelled(MoveableSlotName(names, slot), "slot ", slot); });
  slotLines(lines, "statics", diff.statics,
            [&](std::int32_t slot) { return labelled(StaticSlotName(names, slot), "static slot ", slot); });
  lines.push_back(pageLine("texture pages", diff.texturePages));
  if (!diff.spritesCompared) return lines;
  const SpriteDiff& sprites = diff.sprites;
  lines.push_back(pageLine("sprite pages", sprites.pages));
  if (sprites.oldSprites == sprites.newSprites && sprites.changed.empty()) {
    lines.push_back("sprites: the same");
  } else {
    std::string line = "sprites:";
    if (sprites.oldSprites != sprites.newSprites) line += " " + std::to_string(sprites.oldSprites) + " against " + std::to_string(sprites.newSprites) + ";";
    if (sprites.changed.empty()) line += " the sprites both hold are the same";
    else line += (sprites.changed.size() == 1 ? " sprite " : " sprites ") + numbers(sprites.changed) + (sprites.changed.size() == 1 ? " differs" : " differ");
    lines.push_back(line);
  }
  slotLines(lines, "sprite sequences", sprites.sequences, [](std::int32_t slot) { return "slot " + std::to_string(slot); });
  return lines;
}

}  // namespace tarnlow
