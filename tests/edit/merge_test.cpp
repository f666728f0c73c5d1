#include "edit/merge.h"

#include "sound/sound_table.h"
#include "tests/edit/merge_fixture.h"

namespace tarnlow::test {
namespace {

// OUT's .wad as a reader gives it back.
WadDocument ReadBack(const MergeResult& result) {
  TempDir dir;
  WriteMergedSet(result, dir / "out.wad");
  std::int64_t length = 0;
  return ReadWADLenient(dir / "out.wad", length);
}

TEST_F(MergeTest, RebasesNextAnimationsAndDispatchesOfEveryObject) {
  const WadDocument target = AsRead(ObjectWad({{0, {1}, 3}, {22, {2}, 2}}));
  const WadDocument source = AsRead(ObjectWad({{21, {3}, 2}}));
  const MergeResult result = MergeWads(request(target, source, {Choose("ANIMATING2")}));
  ASSERT_TRUE(result.proven) << ::testing::PrintToString(result.differences);
  const WadDocument out = ReadBack(result);
  ASSERT_EQ(out.Animations.size(), 7u);
  // ANIMATING2 now holds animations 3 and 4, ANIMATING3 5 and 6.
  EXPECT_EQ(out.Animations[3].NextAnimation, 4);
  EXPECT_EQ(out.Animations[4].NextAnimation, 3);
  EXPECT_EQ(out.AnimDispatches[static_cast<std::size_t>(out.StateChanges[static_cast<std::size_t>(out.Animations[3].StateChange)].AnimDispatches)].NextAnimation, 4);
  EXPECT_EQ(out.Animations[6].NextAnimation, 5);
}

TEST_F(MergeTest, ReplacesLaraSkinWithTheSourcesOutfit) {
  const WadDocument target = AsRead(ObjectWad({{0, {1}, 2}, {8, {1, 2, 3}}}));
  const WadDocument source = AsRead(ObjectWad({{8, {4, 5, 6}}}));
  MergeRequest r = request(target, source, {Choose("LARA_SKIN")});
  r.replace = true;
  const MergeResult result = MergeWads(r);
  ASSERT_TRUE(result.proven) << ::testing::PrintToString(result.differences);
  const WadDocument out = ReadBack(result);
  ASSERT_EQ(out.Moveables.size(), 2u);
  EXPECT_EQ(out.Moveables[1].ObjectID, 8);
  // The target's colour 1 stays; 2 and 3 went with its LARA_SKIN.
  EXPECT_EQ(out.TextInfo.size(), 4u);
}

TEST_F(MergeTest, RemovalDropsWhatOnlyTheRemovedObjectUsed) {
  const WadDocument target = AsRead(ObjectWad({{0, {1, 2}}, {20, {2, 3}, 2}}));
  MergeRequest r = request(target, target, {});
  r.remove = {Choose("ANIMATING1")};
  const MergeResult result = RemoveObjects(r);
  ASSERT_TRUE(result.proven) << ::testing::PrintToString(result.differences);
  const WadDocument out = ReadBack(result);
  EXPECT_EQ(out.Moveables.size(), 1u);
  EXPECT_EQ(out.TextInfo.size(), 2u);
  EXPECT_EQ(out.MeshPointers.size(), 2u);
  EXPECT_EQ(out.Animations.size(), 1u);
}

TEST_F(MergeTest, MergesIntoAWadWithEmptySections) {
  const WadDocument target = AsRead(ObjectWad({}, {{0, 1}}));
  const WadDocument source = AsRead(ObjectWad({{20, {2}, 2}}));
  const MergeResult result = MergeWads(request(target, source, {Choose("ANIMATING1")}));
  ASSERT_TRUE(result.proven) << ::testing::PrintToString(result.differences);
  EXPECT_EQ(result.moveables, 1u);
  EXPECT_EQ(result.statics, 1u);
}

// A file that ends before what it claims gives nothing and takes nothing:
// its missing records would move as zeros.
TEST_F(MergeTest, RefusesAFileCutShortOnEitherSide) {
  const WadDocument whole = ObjectWad({{20, {2}, 2}});
  TempDir dir;
  WriteWAD(dir / "cut.wad", whole);
  std::filesystem::resize_file(dir / "cut.wad", std::filesystem::file_size(dir / "cut.wad") - 4);
  std::int64_t length = 0;
  const WadDocument cut = ReadWADLenient(dir / "cut.wad", length);
  ASSERT_TRUE(cut.reading.cutShort());
  const WadDocument other = AsRead(ObjectWad({{21, {1}, 1}}));
  for (const bool cutSource : {true, false}) {
    SCOPED_TRACE(cutSource);
    const MergeResult result = MergeWads(cutSource ? request(other, cut, {Choose("0")}) : request(cut, other, {Choose("0")}));
    EXPECT_FALSE(result.proven);
    EXPECT_EQ(result.plan.refusals.size(), 1u) << ::testing::PrintToString(result.plan.refusals);
    EXPECT_TRUE(result.wad.Moveables.empty());
  }
}

SoundSlot slotPlaying(int slot, std::string sample) {
  SoundSlot s;
  s.slot = slot;
  s.volume = 200;
  s.flags = 1 << 2;
  s.samples = {std::move(sample)};
  s.sampleIndices = {0};
  return s;
}

TEST_F(MergeTest, SoundSlotsAreAddedKeptOrTakenFromTheSource) {
  SoundTable targetSounds, sourceSounds;
  targetSounds.slots = {{10, slotPlaying(10, "a.wav")}, {11, slotPlaying(11, "b.wav")}};
  sourceSounds.slots = {{10, slotPlaying(10, "A.WAV")}, {11, slotPlaying(11, "c.wav")}, {12, slotPlaying(12, "d.wav")}};
  const WadDocument target = AsRead(ObjectWad({{0, {1}, 1, {11}}}));
  const WadDocument source = AsRead(ObjectWad({{20, {2}, 1, {10, 11, 12}}}));
  for (SoundChoice choice : {SoundChoice::KeepTarget, SoundChoice::TakeSource}) {
    MergeRequest r = request(target, source, {Choose("ANIMATING1")});
    r.target.sounds = &targetSounds;
    r.sources[0].wad.sounds = &sourceSounds;
    r.sounds = choice;
    TempDir samples;
    WriteFileBytes(samples / "C.WAV", {});
    r.samplesFolder = samples.path();
    const MergeResult result = MergeWads(r);
    ASSERT_TRUE(result.proven) << ::testing::PrintToString(result.differences);
    const std::vector<MergeSound>& sounds = result.plan.moved.at(0).sounds;
    ASSERT_EQ(sounds.size(), 3u);
    EXPECT_EQ(sounds[0].outcome, SoundOutcome::Equal);
    EXPECT_EQ(sounds[1].outcome, choice == SoundChoice::TakeSource ? SoundOutcome::Taken : SoundOutcome::Conflict);
    EXPECT_EQ(sounds[1].alsoPlayedBy, std::vector<std::string>{"LARA"});
    EXPECT_EQ(sounds[2].outcome, SoundOutcome::Added);
    // The folder holds c.wav in another case; the added slot's d.wav it lacks.
    EXPECT_EQ(result.plan.missingSamples, std::vector<std::string>{"d.wav"});
    const SoundTable out = ReadSoundFiles(*result.sfx, *result.sam).table;
    EXPECT_EQ(out.find(11)->samples.at(0), choice == SoundChoice::TakeSource ? "c.wav" : "b.wav");
    EXPECT_EQ(out.find(12)->samples.at(0), "d.wav");
  }
}

// Faults real WADs hold, carried as they are; the check's findings about
// the moved object's own are said to come from its source.
TEST_F(MergeTest, CarriesBrokenRecordsAsTheGameReadsThem) {
  const struct {
    const char* name;
    void (*breakTarget)(WadDocument&);
    void (*breakSource)(WadDocument&);
    bool carriesFindings;
  } cases[] = {
      {"a dispatch past the last animation",
       [](WadDocument& d) {
         std::vector<AnimDispatchRecord> dispatches = d.AnimDispatches.toVector();
         dispatches[0].NextAnimation = static_cast<std::int16_t>(d.Animations.size() + 5);
         d.AnimDispatches = RecordArray<AnimDispatchRecord>::fromRecords(std::span<const AnimDispatchRecord>(dispatches));
       },
       [](WadDocument&) {}, false},
      {"a static whose mesh does not decode",
       [](WadDocument& d) {
         const auto at = static_cast<std::size_t>(d.MeshPointers[d.MeshPointers.size() - 1]);
         d.MeshData[at + 10] = 0;  // no vertices
       },
       [](WadDocument&) {}, false},
      {"key frames read on into the next object's",
       [](WadDocument&) {},
       [](WadDocument& d) {
         std::vector<AnimationRecord> animations = d.Animations.toVector();
         animations[1].FrameEnd = static_cast<std::int16_t>(animations[1].FrameStart + 1);
         d.Animations = RecordArray<AnimationRecord>::fromRecords(std::span<const AnimationRecord>(animations));
       },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WadDocument target = ObjectWad({{0, {1}, 2}}, {{0, 2}});
    WadDocument source = ObjectWad({{20, {3, 4}, 2}, {21, {5}}});
    c.breakTarget(target);
    c.breakSource(source);
    const WadDocument targetRead = AsRead(target), sourceRead = AsRead(source);
    const MergeResult result = MergeWads(request(targetRead, sourceRead, {Choose("ANIMATING1")}));
    EXPECT_TRUE(result.proven) << ::testing::PrintToString(result.plan.refusals) << ::testing::PrintToString(result.differences);
    EXPECT_EQ(!result.carried.empty(), c.carriesFindings);
    for (const CarriedFinding& carried : result.carried) {
      EXPECT_EQ(carried.finding.moveable, 1u);  // ANIMATING1, after the target's slot 0
      EXPECT_EQ(carried.source, "source.wad");
    }
  }
}

// What a broken writer changes is found, in the content of the moved
// object or of an untouched one, or by a WAD-wide rule of the check, though
// the check leaves the key frames of the untouched ANIMATING3.
TEST_F(MergeTest, ProofRefusesWhatABrokenWriterWrote) {
  const struct {
    const char* name;
    void (*breakOut)(WadDocument&);
  } cases[] = {
      {"a turn of the moved object's last key frame",
       [](WadDocument& d) {
         std::vector<std::int16_t> frames = d.Frames.toVector();
         frames.back() = static_cast<std::int16_t>(frames.back() + 100);
         d.Frames = RecordArray<std::int16_t>::fromRecords(std::span<const std::int16_t>(frames));
       }},
      {"a vertex of the untouched first object", [](WadDocument& d) { d.MeshData[12] ^= 1; }},
      {"the box of the untouched first object's first key frame",
       [](WadDocument& d) {
         std::vector<std::int16_t> frames = d.Frames.toVector();
         frames.front() = static_cast<std::int16_t>(frames.front() - 1);
         d.Frames = RecordArray<std::int16_t>::fromRecords(std::span<const std::int16_t>(frames));
       }},
      {"a texture record on a page OUT lacks, under no face",
       [](WadDocument& d) {
         std::vector<TextInfoRecord> infos = d.TextInfo.toVector();
         infos.push_back(infos.front());
         infos.back().Bytes[2] = 7;
         d.TextInfo = RecordArray<TextInfoRecord>::fromRecords(std::span<const TextInfoRecord>(infos));
         d.NumTextInfo = static_cast<std::int32_t>(infos.size());
       }},
  };
  const WadDocument target = AsRead(ObjectWad({{0, {1}, 2}, {22, {4}, 3}}));
  const WadDocument source = AsRead(ObjectWad({{20, {2, 3}, 2}}));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto brokenWriter = [&c](const std::filesystem::path& path, const WadDocument& d) {
      WadDocument broken = d;
      c.breakOut(broken);
      WriteWAD(path, broken);
    };
    const MergeResult result = MergeWads(request(target, source, {Choose("ANIMATING1")}), brokenWriter);
    EXPECT_FALSE(result.proven);
    EXPECT_FALSE(result.differences.empty());
    TempDir dir;
    EXPECT_THROW(WriteMergedSet(result, dir / "out.wad"), WadError);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.wad"));
  }
}

}  // namespace
}  // namespace tarnlow::test
