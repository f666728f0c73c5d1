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
  EXPECT_TRUE(diff.moveables.removed.empty() && diff.moveables.changed.empty() && diff.statics.changed.empty());
  EXPECT_EQ(diff.statics.added, (std::vector<std::int32_t>{19}));
  EXPECT_EQ(DiffWads({updated.build()}, {old.build()}).moveables.removed, (std::vector<std::int32_t>{10, 35}));
}

TEST(WadDiff, ChangedObjectNamesEachPartOnceAndPagesByPixels) {
  ContentWad changed = ContentWad::Plain();
  changed.frames[21] = 0;                                    // a key-frame turn
  changed.pageRows[ContentWad::PixelAt(9, 5) + 2] ^= 0x80;  // a pixel under both faces
  const WadDiff diff = DiffWads({ContentWad::Plain().build()}, {changed.build()});
  ASSERT_EQ(diff.moveables.changed.size(), 1u);
  EXPECT_EQ(diff.moveables.changed[0].slot, 35);
  EXPECT_EQ(diff.moveables.changed[0].differences.size(), 2u) << "textures and key frames";
  EXPECT_EQ(diff.texturePages.changed, (std::vector<std::size_t>{0}));
  ASSERT_EQ(diff.statics.changed.size(), 1u);
  EXPECT_TRUE(DiffWads({changed.build()}, {changed.build()}).same());
}

// An SWD page of 16 rows with two 4 x 4 sprites at columns x0 and x1, the
// pixels of each the same wherever it stands, and a sequence (slot 463) of
// both.
SwdDocument swdWithSprites(std::uint8_t x0, std::uint8_t x1) {
  Bytes rows(16 * 256 * 3, 9);
  std::vector<SwdEntry> entries;
  for (const std::uint8_t x : {x0, x1}) {
    for (int y = 0; y < 4; ++y) {
      std::fill_n(rows.begin() + static_cast<std::ptrdiff_t>(ContentWad::PixelAt(x, y)), 12, std::uint8_t(x == x0 ? y : 10 + y));
    }
    entries.push_back(SwdEntry{{x, 0, 0, 0, 0, 3, 0, 3, 1, 2, 3, 4, 5, 6, 7, 8}});
  }
  return SwdDocument{.SwdEntries = RecordArray<SwdEntry>::fromRecords(std::span<const SwdEntry>(entries)),
                     .SwdTextData = RecordArray<TextureRow>(16, rows),
                     .SwdRecords = RecordArray<SwdRecord>::fromRecords({SwdRecord{{0xCF, 0x01, 0, 0, 0xFE, 0xFF, 0, 0}}})};
}

TEST(WadDiff, SpritesAreComparedByThePixelsUnderThem) {
  const WadDocument wad = ContentWad::Plain().build();
  const SwdDocument old = swdWithSprites(0, 8), moved = swdWithSprites(40, 80);
  const WadDiff same = DiffWads({wad, &old}, {wad, &moved});
  EXPECT_TRUE(same.sprites.changed.empty());
  EXPECT_TRUE(same.sprites.sequences.empty());
  EXPECT_EQ(same.sprites.pages.changed, (std::vector<std::size_t>{0}));

  const SwdDocument repainted = swdWithSprites(0, 2);  // the second drawn over half of the first
  const WadDiff diff = DiffWads({wad, &old}, {wad, &repainted});
  EXPECT_EQ(diff.sprites.changed, (std::vector<std::size_t>{0}));
  ASSERT_EQ(diff.sprites.sequences.changed.size(), 1u);
  EXPECT_EQ(diff.sprites.sequences.changed[0].slot, 463);
  EXPECT_FALSE(DiffWads({wad, &old}, {wad, nullptr}).same());
}

}  // namespace
}  // namespace tarnlow
