#include "wad/record_array.h"

#include <gtest/gtest.h>

#include "wad/wad_records.h"

namespace tarnlow {
namespace {

TEST(RecordArray, RecordsBeyondTheStoredBytesReadAsZero) {
  const RecordArray<MoveableRecord> full = RecordArray<MoveableRecord>::fromRecords({MoveableRecord{7, 1, 2, 3, {1, 2, 3, 4, 5, 6}}});
  Bytes partial = full.storedBytes();
  partial.resize(10);  // ObjectID, NumMeshes, StartingMesh and half of MeshTree
  const RecordArray<MoveableRecord> cut(3, partial);
  EXPECT_EQ(cut.size(), 3u);
  EXPECT_EQ(cut.byteSize(), 54u);
  EXPECT_EQ(cut.storedBytes().size(), 10u);
  EXPECT_EQ(cut[0].ObjectID, 7);
  EXPECT_EQ(cut[0].StartingMesh, 2);
  EXPECT_EQ(cut[0].MeshTree, 3);  // its low bytes were stored
  EXPECT_EQ(cut[0].Unknown3[0], 0);
  EXPECT_EQ(cut[2], MoveableRecord{});
  EXPECT_THROW(cut.at(3), std::out_of_range);
}

TEST(RecordArray, EqualityTreatsUnstoredBytesAsZero) {
  const RecordArray<std::int16_t> stored(4, Bytes{1, 0, 0, 0, 0, 0, 0, 0});
  const RecordArray<std::int16_t> cut(4, Bytes{1, 0});
  const RecordArray<std::int16_t> other(4, Bytes{1, 0, 0, 0, 0, 0, 0, 5});
  EXPECT_EQ(stored, cut);
  EXPECT_EQ(cut, stored);
  EXPECT_NE(cut, other);
  EXPECT_NE(cut, RecordArray<std::int16_t>(5, Bytes{1, 0}));
}

}  // namespace
}  // namespace tarnlow
