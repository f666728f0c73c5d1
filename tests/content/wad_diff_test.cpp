#include "content/wad_diff.h"

#include <gtest/gtest.h>

#include "anim/animation_graph.h"
#include "tests/support/content_wad.h"

namespace tarnlow {
namespace {

using test::ContentWad;

TEST(WadDiff, ObjectsArePairedBySlotWhereverTheyStand) {
  ContentWad old = ContentWad::Plain(), updated = ContentWad::Moved();
  // Slot 35 twice in the new WAD: its second occurrence is an addition.
  updated.moveables.push_back(updated.moveables[1]);
  updated.moveables.back().Unknown3 = WriteAnimationRef({0, -1});
  const WadDiff diff = DiffWads({old.build()}, {updated.build()});
  EXPECT_EQ(diff.moveables.added, (std::vector<std::int32_t>{10, 35}));
  EXPECT_TRUE(diff.moveables.removed.empty());
  EXPECT_TRUE(diff.moveables.changed.empty());
  EXPECT_EQ(diff.statics.added, (std::vector<std::int32_t>{19}));
  EXPECT_TRUE(diff.statics.changed.empty());

  const WadDiff back = DiffWads({updated.build()}, {old.build()});
  EXPECT_EQ(back.moveables.removed, (std::vector<std::int32_t>{10, 35}));
  EXPECT_FALSE(back.same());
}

TEST(WadDiff, ChangedObjectNamesEachPartOnceAndPagesByPixels) {
  ContentWad changed = ContentWad::Plain();
  changed.frames[21] = 0;                                    // a key-frame turn
  changed.pageRows[ContentWad::PixelAt(9, 5) + 2] ^= 0x80;  // a pixel under both faces
  const WadDiff diff = DiffWads({ContentWad::Plain().build()}, {changed.build()});
  ASSERT_EQ(diff.moveables.changed.size(), 1u);
  EXPECT_EQ(diff.moveables.changed[0].slot, 35);
  std::vector<ContentPart> parts;
  for (const ContentDifference& d : diff.moveables.changed[0].differences) parts.push_back(d.part);
  EXPECT_EQ(parts, (std::vector<ContentPart>{ContentPart::Textures, ContentPart::KeyFrames}));
  EXPECT_EQ(diff.texturePages.changed, (std::vector<std::size_t>{0}));
  ASSERT_EQ(diff.statics.changed.size(), 1u);
  EXPECT_TRUE(DiffWads({changed.build()}, {changed.build()}).same());
}

// An SWD of one 16-row page holding two 4 x 4 sprites at the given
// columns, and a sequence (slot 463) of both.
SwdDocument swdWithSprites(std::uint8_t first, std::uint8_t second) {
  Bytes rows(16 * 256 * 3);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i / 3 % 251);
  // The pixels of each sprite are the same wherever it stands.
  for (const std::uint8_t x : {first, second}) {
    for (int y = 0; y < 4; ++y) {
      for (int i = 0; i < 4 * 3; ++i) {
        rows[ContentWad::PixelAt(x, y) + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x == first ? i : 100 + i);
      }
    }
  }
  SwdDocument swd;
  std::vector<SwdEntry> entries;
  for (const std::uint8_t x : {first, second}) entries.push_back(SwdEntry{{x, 0, 0, 0, 0, 3, 0, 3, 1, 2, 3, 4, 5, 6, 7, 8}});
  swd.SwdEntries = RecordArray<SwdEntry>::fromRecords(std::span<const SwdEntry>(entries));
  swd.SwdTextData = RecordArray<TextureRow>(16, rows);
  swd.SwdRecords = RecordArray<SwdRecord>::fromRecords({SwdRecord{{0xCF, 0x01, 0, 0, 0xFE, 0xFF, 0, 0}}});
  return swd;
}

TEST(WadDiff, SpritesAreComparedByThePixelsUnderThem) {
  const WadDocument wad = ContentWad::Plain().build();
  const SwdDocument old = swdWithSprites(0, 8), moved = swdWithSprites(40, 80);
  const WadDiff same = DiffWads({wad, &old}, {wad, &moved});
  EXPECT_TRUE(same.sprites.changed.empty());
  EXPECT_TRUE(same.sprites.sequences.empty());
  EXPECT_EQ(same.sprites.pages.changed, (std::vector<std::size_t>{0}));

  SwdDocument repainted = old;
  Bytes rows = repainted.SwdTextData.storedBytes();
  rows[ContentWad::PixelAt(9, 3)] ^= 1;
  repainted.SwdTextData = RecordArray<TextureRow>(16, rows);
  const WadDiff diff = DiffWads({wad, &old}, {wad, &repainted});
  EXPECT_EQ(diff.sprites.changed, (std::vector<std::size_t>{1}));
  ASSERT_EQ(diff.sprites.sequences.changed.size(), 1u);
  EXPECT_EQ(diff.sprites.sequences.changed[0].slot, 463);
  EXPECT_FALSE(DiffWads({wad, &old}, {wad, nullptr}).same());
}

}  // namespace
}  // namespace tarnlow
