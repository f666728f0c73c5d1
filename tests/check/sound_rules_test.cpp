// The check's sound rules, on the clean animated WAD with sound files beside it.
#include <gtest/gtest.h>

#include <tuple>

#include "check/check_wad.h"
#include "sound/sample_folder.h"
#include "sound/sound_files.h"
#include "tests/support/animated_wad.h"
#include "tests/support/sound_builder.h"
#include "tests/support/temp_dir.h"

namespace tarnlow::test {
namespace {

// Animation 0 plays slot 0 on land, slot 3 in water and slot 17, at frames 1, 1 and 2.
AnimatedWad PlayingThreeSlots() {
  AnimatedWad w = AnimatedWad::Clean();
  w.commands = {5, 1, 0x4000, 5, 1, static_cast<std::int16_t>(0x8003), 5, 2, 17, 3};
  w.animations[0].AnimCommandCount = 4;
  return w;
}

// Slots 0 (two samples) and 9 (one), and a .sam line more than the .sfx counts.
SoundSet SoundsBeside() {
  std::string sam;
  const Bytes sfx = SfxBytes(CanonicalSfx({0, 9}, {2, 1}, sam));
  SoundSet set;
  set.sounds = ReadSoundFiles(sfx, sam + "extra.wav\n");
  set.objects = ReadObjectList("LARA:Z:\\kit\\LARA.prk\n");
  return set;
}

TEST(CheckSoundRules, EachRuleSaysItsFindingAboutItsSlotLineOrObject) {
  TempDir dir;
  WriteFileBytes(dir / "S0_0.WAV", Bytes{});
  const SoundSet set = SoundsBeside();
  const std::optional<SampleFolder> folder = SampleFolder::Read(dir.path());
  ASSERT_TRUE(folder.has_value());

  using Row = std::tuple<std::string, Severity, std::string, std::int64_t>;
  std::vector<Row> rows;
  std::string silent;
  for (const Finding& f : CheckWad(PlayingThreeSlots().build(), CheckSounds{&set, &*folder, nullptr})) {
    if (f.rule.rfind("sound-", 0) != 0) continue;
    rows.emplace_back(f.rule, f.severity, f.section, f.record);
    if (f.rule == "sound-slot-silent") silent = f.problem;
  }
  const std::vector<Row> expected = {
      {"sound-slot-silent", Severity::Note, "Moveables", 0},
      {"sound-sample-count", Severity::Error, ".sfx", -1},
      {"sound-sample-missing", Severity::Warning, "sound slot", 0},
      {"sound-sample-missing", Severity::Warning, "sound slot", 9},
      {"sound-sample-unused", Severity::Note, ".sam line", 3},
      {"sound-was-object", Severity::Note, ".was", -1},
  };
  EXPECT_EQ(rows, expected);
  EXPECT_NE(silent.find("2 slots"), std::string::npos) << silent;
  EXPECT_NE(silent.find(": 3, 17"), std::string::npos) << silent;
}

TEST(CheckSoundRules, CommandFindingsNameThePlaySoundBySlotAndSamples) {
  AnimatedWad w = PlayingThreeSlots();
  w.commands[1] = 9;  // slot 0's frame, outside the animation's frames 0 to 2
  const SoundSet set = SoundsBeside();
  std::vector<std::string> problems;
  for (const Finding& f : CheckWad(w.build(), CheckSounds{&set})) {
    if (f.rule == "command-frame-outside") problems.push_back(f.problem);
  }
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].rfind("PlaySound at frame 9: slot 0 (s0_0.wav ... s0_1.wav, 2 samples), on land only", 0), 0u)
      << problems[0];
}

}  // namespace
}  // namespace tarnlow::test
