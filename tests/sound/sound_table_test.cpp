#include "sound/sound_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "sound/play_sound.h"
#include "tests/support/sound_builder.h"
#include "tests/support/wad_fault.h"

namespace tarnlow {
namespace {

using test::CanonicalSfx;
using test::SfxBytes;
using test::SfxParts;
using Kind = SoundProblemKind;

std::set<Kind> KindsOf(const SoundFilesRead& read) {
  std::set<Kind> kinds;
  for (const SoundProblem& p : read.problems) kinds.insert(p.kind);
  return kinds;
}

std::vector<int> SlotsOf(const SoundTable& table) {
  std::vector<int> slots;
  for (const auto& [slot, sound] : table.slots) slots.push_back(slot);
  return slots;
}

// Three slots (0, 4, 369) playing 2, 1 and 3 samples, spoiled one way each.
TEST(SoundTable, MalformedFilesAreReadAsFarAsTheyGoAndSaid) {
  struct Case {
    const char* name;
    std::function<void(SfxParts&, std::string& sam, std::size_t& keep)> spoil;
    std::set<Kind> kinds;
    std::vector<int> slots;
  };
  const std::vector<Case> cases = {
      {"well formed", [](SfxParts&, std::string&, std::size_t&) {}, {}, {0, 4, 369}},
      {"trailing bytes", [](SfxParts& p, std::string&, std::size_t&) { p.trailingBytes = 44; },
       {Kind::TrailingBytes}, {0, 4, 369}},
      {"map entry past the infos", [](SfxParts& p, std::string&, std::size_t&) { p.map[7] = 3; },
       {Kind::MapEntryPastInfos, Kind::NotCanonical}, {0, 4, 369}},
      {"negative map entry", [](SfxParts& p, std::string&, std::size_t&) { p.map[4] = -2; },
       {Kind::MapEntryPastInfos, Kind::NotCanonical, Kind::SamLineUnused}, {0, 369}},
      {"sample count disagrees", [](SfxParts& p, std::string&, std::size_t&) {
         p.sampleCount = 7;
         p.sampleIndices.push_back(6);
       },
       {Kind::SampleCountDisagrees, Kind::NotCanonical}, {0, 4, 369}},
      {"sample range past the .sam", [](SfxParts&, std::string& sam, std::size_t&) { sam.resize(sam.rfind("s369_2")); },
       {Kind::SampleCountDisagrees, Kind::SampleRangePastSam}, {0, 4, 369}},
      {"an extra .sam line", [](SfxParts&, std::string& sam, std::size_t&) { sam += "extra.wav\n"; },
       {Kind::SampleCountDisagrees, Kind::SamLineUnused}, {0, 4, 369}},
      {"shared info", [](SfxParts& p, std::string&, std::size_t&) { p.map[5] = 1; },
       {Kind::NotCanonical}, {0, 4, 5, 369}},
      {"cut in the map", [](SfxParts&, std::string&, std::size_t& keep) { keep = 100; }, {Kind::SfxCutShort}, {}},
      {"cut in the infos", [](SfxParts&, std::string&, std::size_t& keep) { keep = 760; },
       {Kind::SfxCutShort, Kind::MapEntryPastInfos, Kind::SamLineUnused}, {0, 4}},
      {"cut in the indices", [](SfxParts&, std::string&, std::size_t& keep) { keep = 780; },
       {Kind::SfxCutShort}, {0, 4, 369}},
      {"info count past the file", [](SfxParts& p, std::string&, std::size_t&) { p.infoCount = 0xFFFFFFFF; },
       {Kind::SfxCutShort}, {0, 4, 369}},
      {"sample count past the file", [](SfxParts& p, std::string&, std::size_t&) { p.sampleCount = 0x40000000; },
       {Kind::SfxCutShort}, {0, 4, 369}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string sam;
    SfxParts parts = CanonicalSfx({0, 4, 369}, {2, 1, 3}, sam);
    std::size_t keep = SIZE_MAX;
    c.spoil(parts, sam, keep);
    const SoundFilesRead read = ReadSoundFiles(SfxBytes(parts, keep), sam);
    EXPECT_EQ(KindsOf(read), c.kinds);
    EXPECT_EQ(SlotsOf(read.table), c.slots);
  }
}

TEST(SoundTable, ZeroFileOfRealSetsLeavesEverySlotUnusedAndSaysEach) {
  const SoundFilesRead read = ReadSoundFiles(Bytes(748, 0), "");
  EXPECT_TRUE(read.table.slots.empty());
  EXPECT_EQ(read.problems.size(), 370u);
  EXPECT_EQ(KindsOf(read), std::set<Kind>{Kind::MapEntryPastInfos});
}

TEST(SoundTable, SlotsKeepTheirSamplesValuesAndFlagBits) {
  std::string sam;
  SfxParts parts = CanonicalSfx({2, 9}, {2, 1}, sam);
  parts.infos[1].flags |= 0x5000 | 3;
  const SoundFilesRead read = ReadSoundFiles(SfxBytes(parts), sam);
  ASSERT_EQ(SlotsOf(read.table), (std::vector<int>{2, 9}));
  const SoundSlot& two = *read.table.find(2);
  EXPECT_EQ(two.samples, (std::vector<std::string>{"s2_0.wav", "s2_1.wav"}));
  EXPECT_EQ(std::tuple(two.sampleCount(), two.loopMode(), two.randomPitch(), two.noPanning(), two.randomVolume()),
            std::tuple(2, LoopMode::Normal, true, false, false));
  const SoundSlot& nine = *read.table.find(9);
  EXPECT_EQ(std::tuple(nine.sampleCount(), nine.loopMode(), nine.noPanning(), nine.randomVolume(), int{nine.pitch}),
            std::tuple(1, LoopMode::Looped, true, true, -3));
  EXPECT_EQ(nine.sampleIndices, std::vector<std::uint32_t>{2});
  EXPECT_EQ(read.table.find(3), nullptr);
}

TEST(SoundTable, WritingACanonicalPairGivesItsBytesBackAndDropsTrailingBytes) {
  std::string sam;
  SfxParts parts = CanonicalSfx({0, 1, 3, 200, 369}, {4, 0, 1, 63, 2}, sam);
  parts.sampleIndices[5] = 912;  // carried, whatever they hold
  const Bytes canonical = SfxBytes(parts);
  parts.trailingBytes = 6;
  for (const Bytes& sfx : {canonical, SfxBytes(parts)}) {
    const SoundFiles written = WriteSoundFiles(ReadSoundFiles(sfx, sam).table);
    EXPECT_EQ(written.sfx, canonical);
    EXPECT_EQ(written.sam, sam);
  }
}

TEST(SoundTable, WritingPutsASharedOrReorderedTableInCanonicalOrder) {
  std::string sam;
  SfxParts parts = CanonicalSfx({3, 8}, {1, 2}, sam);
  std::swap(parts.map[3], parts.map[8]);
  std::swap(parts.infos[0].firstSample, parts.infos[1].firstSample);
  std::swap(parts.infos[0].flags, parts.infos[1].flags);
  const SoundTable table = ReadSoundFiles(SfxBytes(parts), sam).table;
  const SoundFiles written = WriteSoundFiles(table);
  const SoundFilesRead again = ReadSoundFiles(written.sfx, written.sam);
  EXPECT_TRUE(again.problems.empty());
  EXPECT_EQ(again.table, table);
  EXPECT_EQ(written.sam, sam);
  EXPECT_NE(written.sfx, SfxBytes(parts));
}

TEST(SoundTable, SlotsAreEqualByWhatPlaysWithSampleNamesInAnyCase) {
  SoundSlot a{1, 100, 10, 0, -5, 0x4, {"Foot01.WAV"}, {7}};
  SoundSlot b{2, 100, 10, 0, -5, 0x4, {"foot01.wav"}, {0}};
  EXPECT_EQ(a, b);
  b.pitch = 5;
  EXPECT_NE(a, b);
}

TEST(SoundTable, TableThatCannotBeWrittenIsRefusedWithSubscriptOrOverflow) {
  const auto faultOf = [](int slot, std::vector<std::string> samples) {
    SoundTable table;
    table.slots[slot] = SoundSlot{slot, 1, 1, 0, 0, 0, std::move(samples), {}};
    return test::FaultOf([&] { WriteSoundFiles(table); }).first;
  };
  EXPECT_EQ(faultOf(370, {"a.wav"}), kSubscriptOutOfRange);
  EXPECT_EQ(faultOf(5, std::vector<std::string>(64, "a.wav")), kSubscriptOutOfRange);
  EXPECT_EQ(faultOf(5, {"two\nlines.wav"}), kOverflow);
  EXPECT_EQ(faultOf(5, {"\xE4\xB8\xAD.wav"}), kOverflow);
  EXPECT_EQ(faultOf(369, std::vector<std::string>(63, "a.wav")), 0);
}

TEST(SoundTable, SampleNamesAreWindows1252OnDiskAndUtf8InTheTable) {
  std::string sam;
  const SfxParts parts = CanonicalSfx({1}, {1}, sam);
  const SoundFilesRead read = ReadSoundFiles(SfxBytes(parts), "caf\xE9.wav\r\n");
  EXPECT_EQ(read.table.find(1)->samples[0], "caf\xC3\xA9.wav");
  EXPECT_EQ(WriteSoundFiles(read.table).sam, "caf\xE9.wav\n");
}

TEST(PlaySound, ValueWordCarriesSlotAndWhereItSounds) {
  const std::vector<std::tuple<std::uint16_t, int, SoundCondition>> cases = {
      {0x0000, 0, SoundCondition::Anywhere},
      {0x4005, 5, SoundCondition::OnLand},
      {0x8171, 369, SoundCondition::InWater},
      {0xFFFF, 0x3FFF, SoundCondition::Both},
  };
  for (const auto& [value, slot, condition] : cases) {
    const PlayedSound played = PlayedSoundOf(static_cast<std::int16_t>(value));
    EXPECT_EQ(std::pair(played.slot, played.condition), std::pair(slot, condition)) << value;
  }
}

TEST(PlaySound, NamedBySlotAndSamplesWhenThereIsATable) {
  SoundTable table;
  table.slots[0] = SoundSlot{0, 1, 1, 0, 0, 0x10, {"foot01.wav", "foot02.wav", "foot03.wav", "foot04.wav"}, {}};
  table.slots[2] = SoundSlot{2, 1, 1, 0, 0, 0x4, {"bell.wav"}, {}};
  const std::vector<std::tuple<std::uint16_t, const SoundTable*, std::string>> cases = {
      {0x4000, nullptr, "sound 0, on land only"},
      {0x4000, &table, "slot 0 (foot01.wav ... foot04.wav, 4 samples), on land only"},
      {0x0002, &table, "slot 2 (bell.wav)"},
      {0x8003, &table, "slot 3: silent, not in the WAD's sound table, in water only"},
  };
  for (const auto& [value, sounds, text] : cases) {
    EXPECT_EQ(DescribePlayedSound(static_cast<std::int16_t>(value), sounds), text);
  }
}

}  // namespace
}  // namespace tarnlow
