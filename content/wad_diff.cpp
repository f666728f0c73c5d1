#include "content/wad_diff.h"

#include "content/content_pool.h"

#include <map>

#include "content/face_pixels.h"
#include "mesh/face_textures.h"
#include "wad/byte_reader.h"
#include "wad/texture_pages.h"

namespace tarnlow {

namespace {

// Pairs the contents of both sides by slot and compares each pair.
template <typename Content>
SlotDiff diffSlots(const std::vector<Content>& old, const std::vector<Content>& updated) {
  std::map<std::int32_t, std::vector<const Content*>> before, after;
  for (const Content& c : old) before[c.slot].push_back(&c);
  for (const Content& c : updated) after[c.slot].push_back(&c);
  SlotDiff diff;
  for (const auto& [slot, olds] : before) {
    const auto found = after.find(slot);
    const std::size_t news = found == after.end() ? 0 : found->second.size();
    for (std::size_t k = 0; k < olds.size(); ++k) {
      if (k >= news) {
        diff.removed.push_back(slot);
        continue;
      }
      std::vector<ContentDifference> differences = CompareContent(*olds[k], *found->second[k]);
      if (!differences.empty()) diff.changed.push_back({slot, std::move(differences)});
    }
  }
  for (const auto& [slot, news] : after) {
    const auto found = before.find(slot);
    const std::size_t olds = found == before.end() ? 0 : found->second.size();
    for (std::size_t k = olds; k < news.size(); ++k) diff.added.push_back(slot);
  }
  return diff;
}

PageDiff diffPages(const RecordArray<TextureRow>& old, const RecordArray<TextureRow>& updated) {
  PageDiff diff{.oldPages = TexturePageCount(old), .newPages = TexturePageCount(updated)};
  for (std::size_t p = 0; p < diff.oldPages && p < diff.newPages; ++p) {
    if (!(TexturePageAt(old, p) == TexturePageAt(updated, p))) diff.changed.push_back(p);
  }
  return diff;
}

// A sprite: the pixels of its rectangle and the eight bytes after it
// (where the game places the picture), never its page or position.
struct Sprite {
  FacePixels pixels;
  std::array<std::uint8_t, 8> placement{};
  friend bool operator==(const Sprite&, const Sprite&) = default;
};

std::vector<Sprite> spritesOf(const SwdDocument& swd) {
  std::vector<Sprite> sprites;
  const std::size_t held = swd.SwdEntries.storedBytes().size() / SwdEntry::kFileSize;
  for (std::size_t k = 0; k < swd.SwdEntries.size() && k <= held; ++k) {
    const SwdEntry entry = swd.SwdEntries[k];
    TextInfoRecord rectangle;
    std::copy_n(entry.Bytes.begin(), 8, rectangle.Bytes.begin());
    const TextureInfo info = DecodeTextureInfo(rectangle);
    const double left = info.X, top = info.Y, right = left + info.Width + 1.0, bottom = top + info.Height + 1.0;
    Sprite sprite{.pixels = FacePixelsOf(swd.SwdTextData, {info.Page, {{left, top}, {right, top}, {right, bottom}, {left, bottom}}})};
    std::copy_n(entry.Bytes.begin() + 8, 8, sprite.placement.begin());
    sprites.push_back(std::move(sprite));
  }
  return sprites;
}

// A sprite sequence: its slot and its sprites.
struct Sequence {
  std::int32_t slot = 0;
  std::vector<Sprite> sprites;
};

std::vector<Sequence> sequencesOf(const SwdDocument& swd, const std::vector<Sprite>& sprites) {
  std::vector<Sequence> sequences;
  const std::size_t held = swd.SwdRecords.storedBytes().size() / SwdRecord::kFileSize;
  for (std::size_t k = 0; k < swd.SwdRecords.size() && k <= held; ++k) {
    const SwdRecord record = swd.SwdRecords[k];
    ByteReader r(record.Bytes, PastEnd::ReadsZero);
    Sequence sequence{.slot = r.i32()};
    // The level tools store the sprite count negated.
    const int count = -static_cast<int>(r.i16());
    const int first = r.i16();
    for (int s = 0; s < count; ++s) {
      const std::int64_t at = std::int64_t{first} + s;
      if (at < 0 || static_cast<std::uint64_t>(at) >= sprites.size()) break;
      sequence.sprites.push_back(sprites[static_cast<std::size_t>(at)]);
    }
    sequences.push_back(std::move(sequence));
  }
  return sequences;
}

// Sequences compared by their sprites, for diffSlots.
std::vector<ContentDifference> CompareContent(const Sequence& a, const Sequence& b) {
  if (a.sprites == b.sprites) return {};
  return {{ContentPart::Textures, "sprites"}};
}

SpriteDiff diffSprites(const SwdDocument& old, const SwdDocument& updated) {
  SpriteDiff diff{.pages = diffPages(old.SwdTextData, updated.SwdTextData)};
  const std::vector<Sprite> before = spritesOf(old), after = spritesOf(updated);
  diff.oldSprites = old.SwdEntries.size();
  diff.newSprites = updated.SwdEntries.size();
  for (std::size_t k = 0; k < before.size() && k < after.size(); ++k) {
    if (!(before[k] == after[k])) diff.changed.push_back(k);
  }
  diff.sequences = diffSlots(sequencesOf(old, before), sequencesOf(updated, after));
  return diff;
}

}  // namespace

WadDiff DiffWads(const DiffSide& old, const DiffSide& updated) {
  // One pool: what both WADs hold alike compares by reference.
  ContentPool pool;
  const WadContent before = WadContentOf(old.wad, old.sounds, &pool), after = WadContentOf(updated.wad, updated.sounds, &pool);
  static const SwdDocument noSprites;
  return WadDiff{.moveables = diffSlots(before.moveables, after.moveables),
                 .statics = diffSlots(before.statics, after.statics),
                 .texturePages = diffPages(old.wad.TextData, updated.wad.TextData),
                 .sprites = diffSprites(old.swd ? *old.swd : noSprites, updated.swd ? *updated.swd : noSprites),
                 .spritesCompared = old.swd != nullptr || updated.swd != nullptr};
}

}  // namespace tarnlow
