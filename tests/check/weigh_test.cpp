// Weighing by use, naming, folding and baselines, on WADs built to show each.
#include <gtest/gtest.h>

#include <algorithm>

#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "check/baseline.h"
#include "check/check_wad.h"
#include "check/fold.h"
#include "check/naming.h"
#include "tests/support/animated_wad.h"

namespace tarnlow::test {
namespace {

// A texture-info record whose page (byte 2) does not exist.
TextInfoRecord BadPage() {
  TextInfoRecord r;
  r.Bytes[2] = 7;
  return r;
}

// An animation slot that holds nothing, marked as the level tools mark it:
// FrameEnd one before FrameStart.
AnimationRecord EmptySlot() {
  AnimationRecord a;
  a.FrameRate = 1;
  a.FrameEnd = -1;
  return a;
}

std::vector<Finding> Of(const std::vector<Finding>& findings, const std::string& rule) {
  std::vector<Finding> out;
  std::copy_if(findings.begin(), findings.end(), std::back_inserter(out),
               [&](const Finding& f) { return f.rule == rule; });
  return out;
}

TEST(CheckWeighing, ABadRecordThatNothingUsesIsANoteAndAUsedOneAnError) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.textInfo = {BadPage(), BadPage()};
  wad.meshes[1].Faces[0].Texture = 0;  // record 0, shown by a face of mesh 1
  const std::vector<Finding> found = Of(CheckWad(wad.build()), "texture-page-missing");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(std::tie(found[0].record, found[0].severity), std::make_tuple(std::int64_t{0}, Severity::Error));
  EXPECT_EQ(std::tie(found[1].record, found[1].severity), std::make_tuple(std::int64_t{1}, Severity::Note));
}

TEST(CheckWeighing, ATriangleNamesItsRecordInTheLowBitsOfItsWord) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.textInfo = {TextInfoRecord{}, BadPage()};
  // Mirrored, its corner 0 on the rectangle's top-right: record 1.
  wad.meshes[1].Faces[0].Texture = static_cast<std::int16_t>(0x8000 | 0x2000 | 1);
  const std::vector<Finding> found = Of(CheckWad(wad.build()), "texture-page-missing");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].severity, Severity::Error);
}

TEST(CheckWeighing, EmptySlotsAreOneNotePerObjectUnlessSomethingLeadsToThem) {
  AnimatedWad wad = AnimatedWad::Clean();
  // Slots 2 to 5 of LARA's range hold nothing; animation 1 goes on in 4.
  for (int i = 0; i < 4; ++i) wad.animations.push_back(EmptySlot());
  wad.animations[1].NextAnimation = 4;
  // Slot 6 has no frames either, but a command: something was meant to play
  // there, so it is not counted with the empty ones and keeps its own note.
  wad.animations.push_back(EmptySlot());
  wad.animations.back().AnimCommands = 3;  // EmptyHands
  wad.animations.back().AnimCommandCount = 1;
  const std::vector<Finding> found = CheckWad(wad.build());
  // Besides the three below, animation 1's NextFrame names no frame of slot 4.
  ASSERT_EQ(found.size(), 4u) << found[0].problem;
  EXPECT_EQ(Of(found, "next-frame-elsewhere").at(0).animation, std::optional<std::int64_t>(1));
  EXPECT_EQ(Of(found, "key-frame-count").at(0).animation, std::optional<std::int64_t>(6));
  const Finding used = Of(found, "empty-slot-used").at(0);
  EXPECT_EQ(std::tie(used.severity, used.animation, used.moveable),
            std::make_tuple(Severity::Error, std::optional<std::int64_t>(4), std::optional<std::size_t>(0)));
  const Finding idle = Of(found, "empty-slots").at(0);
  EXPECT_EQ(std::tie(idle.severity, idle.moveable), std::make_tuple(Severity::Note, std::optional<std::size_t>(0)));
  EXPECT_NE(idle.problem.find("3 empty"), std::string::npos) << idle.problem;
}

TEST(CheckWeighing, UnusedDispatchesAndStateChangesAreNotes) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.stateChanges.push_back({2, 1, 5});   // no animation covers it; its dispatch 5 does not exist
  wad.dispatches.push_back({0, 2, 9, 0});  // no state change covers it; animation 9 does not exist
  const CheckCounts counts = CountFindings(CheckWad(wad.build()));
  EXPECT_EQ(counts, (CheckCounts{0, 0, 2}));
}

TEST(CheckFolding, AlikeFindingsFoldIntoOneLineThatListsThemAndOthersStayAlone) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.textInfo = {TextInfoRecord{}, BadPage(), BadPage(), BadPage()};
  wad.textInfo[3].Bytes[2] = 9;  // another page: the number differs, the finding is alike
  wad.animations[0].NextAnimation = 7;
  const std::vector<Finding> findings = CheckWad(wad.build());
  const std::vector<FindingGroup> groups = FoldFindings(findings, CheckNames(wad.build(), nullptr));
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].moveable, std::optional<std::size_t>(0));
  ASSERT_EQ(groups[0].lines.size(), 1u);
  EXPECT_EQ(groups[0].counts, (CheckCounts{1, 0, 0}));
  EXPECT_FALSE(groups[1].moveable);
  ASSERT_EQ(groups[1].lines.size(), 1u);
  EXPECT_EQ(groups[1].lines[0].members.size(), 3u);
  for (std::size_t m : groups[1].lines[0].members) EXPECT_EQ(findings[m].section, "TextInfo");
}

TEST(CheckNaming, AnimationsAreNumberedWithinTheirObjectAsTheChooserNumbersThem) {
  AnimatedWad wad = AnimatedWad::Clean();
  // Object 1 takes animation 1: it is its animation 0.
  wad.moveables[1].Unknown3 = WriteAnimationRef({44, 1});
  wad.animations[1].NextAnimation = 1;
  wad.animations[1].NextFrame = 3;
  const WadDocument doc = wad.build();
  const CheckNames names(doc, nullptr);
  EXPECT_EQ(names.animationNumber(0), 0);
  EXPECT_EQ(names.animationNumber(1), 0);
  Finding f{Severity::Error, "Animations", 1, "x", {}, 1};
  f.animation = 1;
  EXPECT_EQ(names.subject(f), "object 1, animation 0 (Animations 1)");
}

// A finding's frame is said as stored and as the view counts it from the
// animation's start, so that the builder can find it in either; a frame
// before the start has no place in the animation.
TEST(CheckNaming, AFindingsFrameIsSaidAsStoredAndAsTheViewCountsIt) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.animations[1].FrameEnd = 13;  // frames 3 to 13
  const WadDocument doc = wad.build();
  const CheckNames names(doc, nullptr);
  const struct { std::int64_t frame; const char* said; } cases[] = {
      {3, ", frame 3 (frame 0 of this animation)"}, {13, ", frame 13 (frame 10 of this animation)"}, {1, ", frame 1"}};
  for (const auto& c : cases) {
    Finding f{Severity::Warning, "Animations", 1, "x", {}, 0};
    f.animation = 1;
    f.frame = c.frame;
    const std::string subject = names.subject(f);
    EXPECT_EQ(subject.substr(subject.find(", frame")), c.said);
  }
  EXPECT_EQ(DescribeFrames(doc.Animations[1]), "frames 3 to 13 (frames 0 to 10 of this animation)");
}

TEST(CheckBaseline, FindingsMatchByObjectAndRuleNotByRecord) {
  // The old WAD has LARA's fault; the new one has another object in front
  // of her, so her records move, and a fault of its own.
  AnimatedWad old = AnimatedWad::Clean();
  old.animations[0].NextFrame = 3;
  AnimatedWad fresh = old;
  MoveableRecord front = fresh.moveables[1];
  front.ObjectID = 77;
  front.StartingMesh = 9;
  fresh.moveables.insert(fresh.moveables.begin(), front);
  const WadDocument oldDoc = old.build(), freshDoc = fresh.build();
  const std::vector<Finding> added = FindingsNotIn(freshDoc, CheckWad(freshDoc), oldDoc, CheckWad(oldDoc));
  ASSERT_FALSE(added.empty());
  for (const Finding& f : added) EXPECT_EQ(f.moveable, std::optional<std::size_t>(0)) << f.problem;
}

}  // namespace
}  // namespace tarnlow::test
