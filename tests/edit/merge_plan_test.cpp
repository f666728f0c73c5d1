#include "edit/merge.h"

#include "tests/edit/merge_fixture.h"

namespace tarnlow::test {
namespace {

TEST_F(MergeTest, SharesEqualMeshesAndRectanglesAndCopiesTheRest) {
  // Colour 2 is rectangle 0 of the target but rectangle 1 of the source.
  const WadDocument target = AsRead(ObjectWad({{0, {2, 1}}}));
  const WadDocument source = AsRead(ObjectWad({{20, {5, 2, 2}}}));
  const MergePlan plan = PlanMerge(request(target, source, {Choose("ANIMATING1")}));
  ASSERT_TRUE(plan.ok()) << ::testing::PrintToString(plan.refusals);
  const MovedObject& moved = plan.moved.at(0);
  EXPECT_EQ(moved.meshesNew, 1u);
  EXPECT_EQ(moved.meshesShared, 2u);
  EXPECT_EQ(moved.rectanglesNew, 1u);
  EXPECT_EQ(moved.rectanglesShared, 1u);
}

TEST_F(MergeTest, PutsObjectsAndStaticsIntoTheSlotsAsked) {
  const WadDocument target = AsRead(ObjectWad({{0, {1}}, {20, {2}}}, {{0, 3}}));
  const WadDocument source = AsRead(ObjectWad({{20, {4}}}, {{50, 5}}));
  const MergePlan plan =
      PlanMerge(request(target, source, {Choose("ANIMATING1", "free"), Choose("DEBRIS0", "PLANT1", true)}));
  ASSERT_TRUE(plan.ok()) << ::testing::PrintToString(plan.refusals);
  EXPECT_EQ(plan.moved.at(0).slot, 21);  // ANIMATING2
  EXPECT_EQ(plan.moved.at(1).slot, 1);   // PLANT1
}

TEST_F(MergeTest, TakenSlotIsRefusedUnlessReplaced) {
  const WadDocument target = AsRead(ObjectWad({{0, {1}, 2}, {8, {1, 2, 3}}}));
  const WadDocument source = AsRead(ObjectWad({{8, {4, 5, 6}}}));
  for (bool replace : {false, true}) {
    SCOPED_TRACE(replace);
    MergeRequest r = request(target, source, {Choose("LARA_SKIN")});
    r.replace = replace;
    const MergePlan plan = PlanMerge(r);
    EXPECT_EQ(plan.ok(), replace);
    EXPECT_EQ(plan.removed.size(), replace ? 1u : 0u);
  }
}

// As the command line picks: a place, or a name only one place holds.
TEST_F(MergeTest, ChoicePicksByPlaceOrByANameOfOneSlotAndRefusesASharedName) {
  const WadDocument target = AsRead(ObjectWad({{0, {1}, 2}}));
  const WadDocument source = AsRead(ObjectWad({{8, {4}}, {8, {5}}, {30, {6}}}));
  const struct {
    const char* choice;
    bool ok;
  } cases[] = {{"uzi_anim", true}, {"1", true}, {"LARA_SKIN", false}, {"3", false}, {"18446744073709551616", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choice);
    const MergePlan plan = PlanMerge(request(target, source, {Choose(c.choice)}));
    EXPECT_EQ(plan.ok(), c.ok) << ::testing::PrintToString(plan.refusals);
  }
}

TEST_F(MergeTest, LeadIntoAnotherObjectIsKeptRefusedOrBroughtAlong) {
  // UZI_ANIM's last animation leads into CROSSBOW_ANIM's animation 1.
  const WadDocument source = AsRead(ObjectWad({{30, {1}, 3, {}, std::pair(31, 1)}, {31, {2}, 2}}));
  const struct {
    const char* name;
    bool targetHasCrossbow;
    bool withLeads;
    bool ok;
    std::size_t moved;
  } cases[] = {
      {"target holds it", true, false, true, 1},
      {"target lacks it", false, false, false, 1},
      {"brought along", false, true, true, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WadDocument target = AsRead(c.targetHasCrossbow ? ObjectWad({{0, {3}}, {31, {4}, 2}}) : ObjectWad({{0, {3}}}));
    MergeRequest r = request(target, source, {Choose("UZI_ANIM")});
    r.withLeads = c.withLeads;
    const MergePlan plan = PlanMerge(r);
    EXPECT_EQ(plan.ok(), c.ok) << ::testing::PrintToString(plan.refusals);
    EXPECT_EQ(plan.moved.size(), c.moved);
    EXPECT_EQ(plan.moved.at(0).leads.at(0).present, c.ok);
  }
}

}  // namespace
}  // namespace tarnlow::test
