// sounds, and the sound names that pose, dump, check and summary give when a
// sound table lies beside the WAD, run as a user runs them.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_process.h"
#include "tests/support/animated_wad.h"
#include "tests/support/sound_builder.h"

namespace tarnlow::test {
namespace {

// Animation 0 of object 0 plays slot 0 on land and slot 3, which the table
// lacks; the table defines slots 0 (two samples) and 9 (one, pitch -3,
// loop mode 1).
struct SoundLevel : Level {
  SoundLevel() : Level(playing()) {
    std::string sam;
    WriteFileBytes(dir / "LEVEL.SFX", SfxBytes(CanonicalSfx({0, 9}, {2, 1}, sam)));
    WriteFileBytes(dir / "level.sam", Bytes(sam.begin(), sam.end()));
    std::filesystem::create_directory(dir / "samples");
    WriteFileBytes(dir / "samples" / "s0_0.wav", Bytes{});
  }
  static WadDocument playing() {
    AnimatedWad w = AnimatedWad::Clean();
    w.commands = {5, 1, 0x4000, 5, 2, 3, 3};
    w.animations[0].AnimCommandCount = 3;
    return w.build();
  }
};

TEST(CliSounds, TableAsDataWithWhoPlaysEachSlotAndTheSamplesTheFolderLacks) {
  const SoundLevel level;
  const CliRun run = level.run({"sounds", "--format", "json", "--samples", (level.dir / "samples").string(), level.wad});
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json out = nlohmann::json::parse(run.out);
  ASSERT_EQ(out["slots"].size(), 2u);
  const nlohmann::json& zero = out["slots"][0];
  EXPECT_EQ(zero["samples"], nlohmann::json({"s0_0.wav", "s0_1.wav"}));
  EXPECT_EQ(zero["missing"], nlohmann::json({"s0_1.wav"}));
  EXPECT_EQ(zero["playedBy"].size(), 1u);
  EXPECT_EQ(zero["playedBy"][0]["animations"], nlohmann::json({0}));
  const nlohmann::json& nine = out["slots"][1];
  EXPECT_EQ(std::tuple(nine["slot"], nine["pitch"], nine["loop"], nine["playedBy"].size()),
            std::tuple(nlohmann::json(9), nlohmann::json(-3), nlohmann::json("wait"), std::size_t{0}));
  EXPECT_EQ(nine["flags"], nlohmann::json({"random pitch"}));
  EXPECT_EQ(out["missingSamples"], 2);
  EXPECT_EQ(level.run({"sounds", level.wad}).status, 0);
}

TEST(CliSounds, WithoutASfxSoundsFailsAndTheOtherCommandsStayAsTheyWere) {
  const Level plain(SoundLevel::playing());
  EXPECT_EQ(plain.run({"sounds", plain.wad}).status, 1);
  const std::string obj = (plain.dir / "pose.obj").string();
  EXPECT_EQ(plain.run({"pose", "--object", "0", plain.wad, "-o", obj}).out, "");
  EXPECT_FALSE(nlohmann::json::parse(plain.run({"dump", plain.wad}).out).contains("PlaySounds"));
}

TEST(CliSounds, PoseDumpCheckAndSummaryNameTheSoundsBesideTheWad) {
  const SoundLevel level;
  const std::string obj = (level.dir / "pose.obj").string();
  EXPECT_EQ(level.run({"pose", "--object", "0", level.wad, "-o", obj}).out,
            "PlaySound at frame 1: slot 0 (s0_0.wav ... s0_1.wav, 2 samples), on land only\n"
            "PlaySound at frame 2: slot 3: silent, not in the WAD's sound table\n");
  const nlohmann::json dump = nlohmann::json::parse(level.run({"dump", level.wad}).out);
  EXPECT_EQ(dump["PlaySounds"].size(), 2u);
  const nlohmann::json check = nlohmann::json::parse(level.run({"check", "--format", "json", level.wad}).out);
  std::vector<std::string> rules;
  for (const nlohmann::json& f : check["findings"]) rules.push_back(f["rule"]);
  EXPECT_EQ(rules, std::vector<std::string>{"sound-slot-silent"});
  const std::string summary = level.run({"summary", level.wad}).out;
  EXPECT_EQ(summary.substr(summary.rfind(',', summary.size() - 4)), ",2,3\n");
}

}  // namespace
}  // namespace tarnlow::test
