// Each rule of the check, tested with the clean animated WAD broken in
// exactly the one way that rule looks for.

#include <gtest/gtest.h>

#include <functional>

#include "anim/animation_graph.h"
#include "anim/wad_check.h"
#include "data/sample_content.h"
#include "tests/support/animated_wad.h"

namespace tarnlow::test {
namespace {

TEST(CheckWad, CleanWadsHaveNoFindings) {
  for (const WadDocument& doc : {AnimatedWad::Clean().build(), sample::SampleWad()}) {
    for (const Finding& f : CheckWad(doc)) ADD_FAILURE() << FormatFinding(f);
  }
}

struct BrokenRule {
  const char* rule;
  std::function<void(AnimatedWad&)> breakIt;
  Severity severity;
  const char* section;
  std::int64_t record;
};

TEST(CheckWad, EachBrokenRuleGivesOneFindingAboutItsRecord) {
  const Severity E = Severity::Error, W = Severity::Warning, N = Severity::Note;
  const BrokenRule rules[] = {
      {"moveable meshes leave MeshPointers", [](AnimatedWad& w) { w.moveables[0].StartingMesh = 1; }, E, "Moveables", 0},
      {"moveable without meshes", [](AnimatedWad& w) { w.moveables[0].NumMeshes = 0; }, E, "Moveables", 0},
      {"mesh-tree entry leaves MeshTrees", [](AnimatedWad& w) { w.moveables[0].MeshTree = 1; }, E, "Moveables", 0},
      {"mesh tree pops an empty stack", [](AnimatedWad& w) { w.meshTrees[0] = 1; }, E, "Moveables", 0},
      {"mesh tree has unknown flag bits", [](AnimatedWad& w) { w.meshTrees[0] = 4; }, N, "Moveables", 0},
      {"first animation outside Animations",
       [](AnimatedWad& w) { w.moveables[0].Unknown3 = WriteAnimationRef({0, 5}); }, E, "Moveables", 0},
      {"first animation after the next moveable's",
       [](AnimatedWad& w) {
         w.moveables[0].Unknown3 = WriteAnimationRef({44, 1});
         w.moveables[1].Unknown3 = WriteAnimationRef({0, 0});
       },
       E, "Moveables", 0},
      {"frame offset differs from the first animation's",
       [](AnimatedWad& w) { w.moveables[0].Unknown3 = WriteAnimationRef({2, 0}); }, W, "Moveables", 0},
      {"frame rate 0", [](AnimatedWad& w) { w.animations[0].FrameRate = 0; }, E, "Animations", 0},
      {"frame end before start", [](AnimatedWad& w) { w.animations[1].FrameEnd = 2; }, E, "Animations", 1},
      {"odd frame offset", [](AnimatedWad& w) { w.animations[1].FrameOffset = 45; }, E, "Animations", 1},
      {"frame size below the header", [](AnimatedWad& w) { w.animations[0].FrameSize = 8; }, E, "Animations", 0},
      {"key frames run past Frames", [](AnimatedWad& w) { w.animations[1].FrameOffset = 46; }, E, "Animations", 1},
      {"key frame needs more than FrameSize",
       [](AnimatedWad& w) { w.frames[22 + 9] = 0; }, E, "Animations", 1},
      {"next animation outside", [](AnimatedWad& w) { w.animations[0].NextAnimation = 7; }, E, "Animations", 0},
      {"next frame outside the next animation", [](AnimatedWad& w) { w.animations[0].NextFrame = 3; }, E,
       "Animations", 0},
      {"next animation of another moveable",
       [](AnimatedWad& w) { w.moveables[1].Unknown3 = WriteAnimationRef({44, 1}); }, W, "Animations", 1},
      {"state changes leave StateChanges", [](AnimatedWad& w) { w.animations[0].NumStateChanges = 2; }, E,
       "Animations", 0},
      {"negative state change count", [](AnimatedWad& w) { w.animations[0].NumStateChanges = -1; }, E, "Animations", 0},
      {"commands leave AnimCommands", [](AnimatedWad& w) { w.animations[0].AnimCommands = 3; }, E, "Animations", 0},
      {"unknown command type", [](AnimatedWad& w) { w.commands[0] = 9; }, E, "Animations", 0},
      {"sound at a frame the animation lacks", [](AnimatedWad& w) { w.commands[1] = 7; }, W, "Animations", 0},
      {"dispatches leave AnimDispatches", [](AnimatedWad& w) { w.stateChanges[0].NumAnimDispatched = 2; }, E,
       "StateChanges", 0},
      {"negative first dispatch", [](AnimatedWad& w) { w.stateChanges[0].AnimDispatches = -1; }, E, "StateChanges", 0},
      {"empty dispatch range", [](AnimatedWad& w) { w.dispatches[0].Low = 2, w.dispatches[0].High = 1; }, E,
       "AnimDispatches", 0},
      {"dispatch to an animation outside", [](AnimatedWad& w) { w.dispatches[0].NextAnimation = 9; }, E,
       "AnimDispatches", 0},
      {"dispatch to a frame outside its animation", [](AnimatedWad& w) { w.dispatches[0].NextFrame = 9; }, E,
       "AnimDispatches", 0},
      {"dispatch range beyond its animation", [](AnimatedWad& w) { w.dispatches[0].High = 6; }, W, "AnimDispatches", 0},
      {"mesh pointer past MeshData", [](AnimatedWad& w) { w.pointers = {0, 100000}; }, E, "MeshPointers", 1},
      {"negative mesh pointer", [](AnimatedWad& w) { w.pointers = {0, -2}; }, E, "MeshPointers", 1},
      {"mesh that cannot be decoded", [](AnimatedWad& w) { w.meshes[1].NumVertices = 0; }, E, "MeshPointers", 1},
      {"mesh with an unknown face type",
       [](AnimatedWad& w) { w.meshes[1].Faces[0] = MeshFace{7, {}, 0, 0}; }, W, "MeshPointers", 1},
      {"static mesh outside MeshPointers", [](AnimatedWad& w) { w.statics[0].Bytes[4] = 5; }, E, "StaticMeshes", 0},
      {"texture page that does not exist", [](AnimatedWad& w) { w.textInfo[0].Bytes[2] = 1; }, E, "TextInfo", 0},
      {"texture square leaving its page", [](AnimatedWad& w) { w.textInfo[0].Bytes[0] = 240; }, E, "TextInfo", 0},
  };
  for (const BrokenRule& r : rules) {
    SCOPED_TRACE(r.rule);
    AnimatedWad wad = AnimatedWad::Clean();
    r.breakIt(wad);
    const std::vector<Finding> findings = CheckWad(wad.build());
    if (findings.size() != 1) {
      ADD_FAILURE() << findings.size() << " findings";
      for (const Finding& f : findings) ADD_FAILURE() << FormatFinding(f);
      continue;
    }
    EXPECT_EQ(findings[0].severity, r.severity) << FormatFinding(findings[0]);
    EXPECT_EQ(findings[0].section, r.section) << FormatFinding(findings[0]);
    EXPECT_EQ(findings[0].record, r.record) << FormatFinding(findings[0]);
  }
}

TEST(CheckWad, FindingsAboutAMoveableOrItsAnimationsNameIt) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.animations[1].NextAnimation = 7;
  wad.meshTrees[0] = 1;
  const std::vector<Finding> findings = CheckWad(wad.build());
  ASSERT_EQ(findings.size(), 2u);
  for (const Finding& f : findings) EXPECT_EQ(f.moveable, std::optional<std::size_t>(0)) << FormatFinding(f);
}

TEST(CheckWad, SummaryCountsEachSeverity) {
  const std::vector<Finding> findings = {{Severity::Error, "A", 0, "", "", {}},
                                         {Severity::Note, "A", 1, "", "", {}},
                                         {Severity::Error, "B", 2, "", "", {}}};
  const CheckCounts counts = CountFindings(findings);
  EXPECT_EQ(counts.errors, 2u);
  EXPECT_EQ(counts.warnings, 0u);
  EXPECT_EQ(counts.notes, 1u);
  EXPECT_EQ(CheckSummaryLine(counts), "2 errors, 0 warnings, 1 note");
}

}  // namespace
}  // namespace tarnlow::test
