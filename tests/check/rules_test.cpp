// The rules of the check, each broken alone in a WAD that is clean otherwise.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "anim/animation_graph.h"
#include "anim/drawn_object.h"
#include "anim/key_frame.h"
#include "anim/key_frame_budget.h"
#include "check/check_wad.h"
#include "data/sample_content.h"
#include "tests/support/animated_wad.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

using W = AnimatedWad&;

TEST(CheckRules, CleanWadsHaveNoFindings) {
  for (const WadDocument& doc : {AnimatedWad::Clean().build(), sample::SampleWad()}) {
    for (const Finding& f : CheckWad(doc)) ADD_FAILURE() << FormatFinding(f);
  }
}

// Each rule of the check, tested with the clean animated WAD broken in
// exactly the one way that rule looks for.
TEST(CheckRules, EachBrokenRuleGivesOneFindingAboutItsRecord) {
  const Severity E = Severity::Error, Wn = Severity::Warning, N = Severity::Note;
  // Faults found by the skeleton, the range and the command decoders are
  // passed on: one of each stands for them all.
  const struct {
    const char* rule;
    void (*breakIt)(W);
    Severity severity;
    const char* section;
    std::int64_t record;
  } rules[] = {
      {"moveable meshes leave MeshPointers", [](W w) { w.moveables[0].StartingMesh = 1; }, E, "Moveables", 0},
      {"moveable without meshes", [](W w) { w.moveables[0].NumMeshes = 0; }, E, "Moveables", 0},
      {"first animation after the next moveable's",
       [](W w) {
         w.moveables[0].Unknown3 = WriteAnimationRef({44, 1});
         w.moveables[1].Unknown3 = WriteAnimationRef({0, 0});
       },
       E, "Moveables", 0},
      {"frame offset differs",
       [](W w) {
         w.moveables[0].Unknown3 = WriteAnimationRef({2, 0});
       },
       Wn, "Moveables", 0},
      {"frame rate 0", [](W w) { w.animations[0].FrameRate = 0; }, E, "Animations", 0},
      {"odd frame offset", [](W w) { w.animations[1].FrameOffset = 45; }, E, "Animations", 1},
      {"frame size below the header", [](W w) { w.animations[0].FrameSize = 8; }, E, "Animations", 0},
      // Not an empty slot: its frames are named, though no key frame is stored.
      {"frame size 0 with frames named", [](W w) { w.animations[1].FrameSize = 0; }, N, "Animations", 1},
      {"key frames run past Frames", [](W w) { w.animations[1].FrameOffset = 46; }, E, "Animations", 1},
      {"key frame needs more than FrameSize", [](W w) { w.frames[22 + 9] = 0; }, E, "Animations", 1},
      {"next animation outside", [](W w) { w.animations[0].NextAnimation = 7; }, E, "Animations", 0},
      {"next frame of another animation", [](W w) { w.animations[0].NextFrame = 3; }, Wn, "Animations", 0},
      {"next frame of no animation", [](W w) { w.animations[0].NextFrame = 9; }, E, "Animations", 0},
      {"next animation of another moveable",
       [](W w) {
         w.moveables[1].Unknown3 = WriteAnimationRef({44, 1});
       },
       Wn, "Animations", 1},
      {"state changes leave StateChanges", [](W w) { w.animations[0].NumStateChanges = 2; }, E, "Animations", 0},
      {"negative state change count", [](W w) { w.animations[0].NumStateChanges = -1; }, E, "Animations", 0},
      {"commands leave AnimCommands", [](W w) { w.animations[0].AnimCommands = 3; }, E, "Animations", 0},
      {"sound at a frame the animation lacks", [](W w) { w.commands[1] = 7; }, Wn, "Animations", 0},
      {"dispatches leave AnimDispatches", [](W w) { w.stateChanges[0].NumAnimDispatched = 2; }, E, "StateChanges", 0},
      {"negative first dispatch", [](W w) { w.stateChanges[0].AnimDispatches = -1; }, E, "StateChanges", 0},
      {"empty dispatch range", [](W w) { w.dispatches[0].Low = 2, w.dispatches[0].High = 1; }, E, "AnimDispatches", 0},
      {"dispatch to an animation outside", [](W w) { w.dispatches[0].NextAnimation = 9; }, E, "AnimDispatches", 0},
      {"dispatch to a frame of no animation", [](W w) { w.dispatches[0].NextFrame = 9; }, E, "AnimDispatches", 0},
      {"dispatch to a frame of another animation", [](W w) { w.dispatches[0].NextFrame = 3; }, Wn, "AnimDispatches", 0},
      {"dispatch range beyond its animation", [](W w) { w.dispatches[0].High = 6; }, Wn, "AnimDispatches", 0},
      {"mesh pointer past MeshData",
       [](W w) {
         w.pointers = {0, 100000};
       },
       E, "MeshPointers", 1},
      {"negative mesh pointer",
       [](W w) {
         w.pointers = {0, -2};
       },
       E, "MeshPointers", 1},
      {"mesh that cannot be decoded", [](W w) { w.meshes[1].NumVertices = 0; }, E, "MeshPointers", 1},
      {"unknown face type",
       [](W w) {
         w.meshes[1].Faces[0] = MeshFace{7, {}, 0, 0};
       },
       Wn, "MeshPointers", 1},
      {"static mesh outside MeshPointers", [](W w) { w.statics[0].Bytes[4] = 5; }, E, "StaticMeshes", 0},
      {"texture page that does not exist", [](W w) { w.meshes[1].Faces[0].Texture = 0, w.textInfo[0].Bytes[2] = 1; }, E,
       "TextInfo", 0},
      {"texture square leaving its page", [](W w) { w.meshes[1].Faces[0].Texture = 0, w.textInfo[0].Bytes[0] = 240; },
       E, "TextInfo", 0},
  };
  for (const auto& r : rules) {
    SCOPED_TRACE(r.rule);
    AnimatedWad wad = AnimatedWad::Clean();
    r.breakIt(wad);
    std::vector<Finding> findings = CheckWad(wad.build());
    // A figure posed by another object's frames misses its boxes too; that
    // rule is tested on its own below.
    std::erase_if(findings, [](const Finding& f) { return f.rule == "key-frame-box"; });
    ASSERT_EQ(findings.size(), 1u) << (findings.empty() ? "" : FormatFinding(findings[0]));
    EXPECT_EQ(std::tie(findings[0].severity, findings[0].section, findings[0].record),
              std::tie(r.severity, r.section, r.record))
        << FormatFinding(findings[0]);
  }
}

TEST(CheckRules, EveryKeyFrameFarFromItsStoredBoxWarnsOncePerAnimation) {
  // Animation 0 made of four copies of its first key frame (maxX 120); the
  // maxX of `moved` (or of all, -1) is raised by `off`. The game never
  // places LARA_HOLSTERS (13) or LARA_DIRT_MESH (27): their boxes are not
  // judged.
  const struct { std::int32_t objectId; int moved; std::int16_t off; long warnings; } cases[] = {
      {35, -1, 64, 0}, {35, -1, 65, 1}, {35, 0, 300, 1}, {35, 1, 300, 1}, {35, 2, 300, 1},
      {35, 3, 300, 1}, {13, 2, 300, 0}, {27, 2, 300, 0}, {30, 2, 300, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "object " << c.objectId << ", key frame " << c.moved << ", " << c.off);
    AnimatedWad wad = AnimatedWad::Clean();
    wad.moveables[0].ObjectID = c.objectId;
    const std::vector<std::int16_t> first(wad.frames.begin(), wad.frames.begin() + 11);
    wad.animations[0].FrameOffset = static_cast<std::int32_t>(2 * wad.frames.size());
    wad.animations[0].FrameEnd = 6;
    for (int k = 0; k < 4; ++k) {
      wad.frames.insert(wad.frames.end(), first.begin(), first.end());
      if (c.moved < 0 || c.moved == k) wad.frames[wad.frames.size() - 10] += c.off;
    }
    const std::vector<Finding> findings = CheckWad(wad.build());
    const auto isBox = [](const Finding& f) { return f.rule == kKeyFrameBoxRule; };
    ASSERT_EQ(std::count_if(findings.begin(), findings.end(), isBox), c.warnings);
    if (c.warnings == 0) continue;
    const auto box = std::find_if(findings.begin(), findings.end(), isBox);
    EXPECT_EQ(box->animation, std::optional<std::int64_t>(0));
    EXPECT_EQ(box->frame, std::optional<std::int64_t>(2 * std::max(c.moved, 0)));
  }
}

// Lara on a vehicle is drawn and judged in LARA_SKIN's meshes when her
// boxes fit them, a pointer 0 whose boxes fit it is a real mesh, and an
// object of placeholders whose boxes fit nothing is noted once, its boxes
// left alone.
TEST(CheckRules, PlaceholderObjectsAreDrawnAndJudgedAsTheirBoxesSay) {
  using enum AnimatedWad::Fit;
  const struct { AnimatedWad::Fit boxes; MeshSource drawn; std::vector<std::string> rules; } cases[] = {
      {Skin, MeshSource::LaraSkin, {}}, {Own, MeshSource::Own, {}}, {Neither, MeshSource::Own, {kPlaceholderFigureRule}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.boxes));
    const WadDocument doc = AnimatedWad::Rider(c.boxes).build();
    EXPECT_EQ(std::get<DrawnObject>(DrawObject(doc, 0)).sources, std::vector<MeshSource>(2, c.drawn));
    std::vector<std::string> rules;
    for (const Finding& f : CheckWad(doc)) rules.push_back(f.rule);
    EXPECT_EQ(rules, c.rules);
  }
}

// Thousands of animations naming one block of key frames cost one
// judgement, which each of them gets; blocks beyond twice what Frames holds
// are left, and said in one note.
TEST(CheckRules, KeyFramesAreJudgedOncePerBlockAndNoMoreThanTwiceWhatFramesHolds) {
  constexpr int kKeys = 300;
  AnimatedWad shared = AnimatedWad::SharedFrames(4000, kKeys);
  shared.frames.back() = 0;  // a turn on three axes: the last key frame runs off Frames
  AnimatedWad shifted = AnimatedWad::SharedFrames(kKeys, kKeys);
  shifted.frames.back() = 0;
  for (int a = 0; a < kKeys; ++a) {  // each a key frame later than the one before
    shifted.animations[static_cast<std::size_t>(a)].FrameOffset = 20 * a;
    shifted.animations[static_cast<std::size_t>(a)].FrameEnd = static_cast<std::int16_t>(kKeys - 1 - a);
  }
  for (const AnimatedWad* wad : {&shared, &shifted}) {
    SCOPED_TRACE(wad == &shared ? "one block" : "overlapping blocks");
    const std::vector<Finding> findings = CheckWad(wad->build());
    long notes = 0, judged = 0, judgedWords = 0;
    for (const Finding& f : findings) {
      notes += f.rule == kKeyFramesLeftRule ? 1 : 0;
      if (f.rule != "key-frame-decode") continue;
      ++judged;
      judgedWords += 10 * (FrameNumber(wad->animations[static_cast<std::size_t>(f.record)].FrameEnd) + 1);
    }
    if (wad == &shared) {
      EXPECT_EQ(std::pair(notes, judged), std::pair(0L, 4000L));
    } else {
      EXPECT_EQ(notes, 1);
      EXPECT_GT(judged, 1);
      EXPECT_LE(judgedWords, 2 * static_cast<long>(wad->frames.size()));
    }
  }
}

TEST(CheckRules, FrameNumbersPast32767AreFramesLikeAnyOther) {
  // The clean WAD's frames moved to 32766 on: animation 0 runs from 32766
  // to 32768 (stored as -32768), and every word that names one of its
  // frames moves with it. The game reads them unsigned; nothing is wrong.
  const auto at = [](int frame) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(32766 + frame)); };
  AnimatedWad wad = AnimatedWad::Clean();
  wad.animations[0].FrameStart = at(0);
  wad.animations[0].FrameEnd = at(2);
  wad.animations[0].NextFrame = at(0);
  wad.animations[1].FrameStart = wad.animations[1].FrameEnd = at(3);
  wad.animations[1].NextFrame = at(0);
  wad.dispatches = {{at(0), at(2), 0, at(1)}};
  wad.commands[1] = at(1);
  const std::vector<Finding> findings = CheckWad(wad.build());
  EXPECT_TRUE(findings.empty()) << FormatFinding(findings.front());
}

TEST(CheckRules, ABrokenMeshIsToldWithTheObjectOrStaticThatDrawsIt) {
  // Mesh position 1 is drawn by moveable 0 (and 1, and static 0); position
  // 2, added here, by static 0 alone.
  const struct { std::size_t broken; std::optional<std::size_t> moveable, staticMesh; } cases[] = {
      {1, 0, std::nullopt}, {2, std::nullopt, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.broken);
    AnimatedWad wad = AnimatedWad::Clean();
    wad.meshes.push_back(SimpleMesh(3));
    wad.statics[0].Bytes[4] = 2;
    wad.meshes[c.broken].NumVertices = 0;
    std::vector<Finding> findings = CheckWad(wad.build());
    std::erase_if(findings, [](const Finding& f) { return f.section != "MeshPointers"; });
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].record, static_cast<std::int64_t>(c.broken));
    EXPECT_EQ(findings[0].moveable, c.moveable);
    EXPECT_EQ(findings[0].staticMesh, c.staticMesh);
  }
}

TEST(CheckRules, EveryPointerToABrokenMeshIsToldWhicheverIsUsedFirst) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.meshes[1].NumVertices = 0;
  const std::int32_t broken = wad.build().MeshPointers[1];
  // Position 0, which nothing draws, names it first; position 2 is drawn.
  wad.pointers = {broken, 0, broken};
  wad.moveables[0].StartingMesh = 1;
  wad.moveables[1].StartingMesh = 2;
  wad.statics[0].Bytes[4] = 2;
  std::vector<Finding> findings = CheckWad(wad.build());
  std::erase_if(findings, [](const Finding& f) { return f.rule != "mesh-undecodable"; });
  std::vector<std::int64_t> records;
  for (const Finding& f : findings) records.push_back(f.record);
  std::sort(records.begin(), records.end());
  EXPECT_EQ(records, (std::vector<std::int64_t>{0, 2}));
}

TEST(CheckRules, SummaryCountsEachSeverity) {
  std::vector<Finding> findings;
  for (Severity s : {Severity::Error, Severity::Note, Severity::Error, Severity::Note}) findings.push_back({s, "A"});
  EXPECT_EQ(CheckSummaryLine(CountFindings(findings)), "2 errors, 0 warnings, 2 notes");
  findings[1].severity = Severity::Warning;
  EXPECT_EQ(CheckSummaryLine(CountFindings(findings)), "2 errors, 1 warning, 1 note");
}

}  // namespace
}  // namespace tarnlow::test
