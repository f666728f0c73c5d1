// The check of a WAD read as far as it goes: empty, short and missing
// sections.
#include <gtest/gtest.h>

#include <algorithm>

#include "check/check_wad.h"
#include "tests/support/animated_wad.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/wad_reader.h"

namespace tarnlow::test {
namespace {

// The findings of `rule` about `section` when the bytes are read leniently.
std::vector<Finding> SectionFindings(const Bytes& file, const std::string& rule) {
  TempDir dir;
  WriteFileBytes(dir / "pack.wad", file);
  std::int64_t length = 0;
  std::vector<Finding> found = CheckWad(ReadWADLenient(dir / "pack.wad", length));
  std::erase_if(found, [&](const Finding& f) { return f.rule != rule; });
  return found;
}

TEST(CheckSections, AnEmptySectionIsAnErrorWhereSomethingNeedsItAndANoteWhereNothingDoes) {
  // An outfit pack: no animation names a state change, and there are none.
  AnimatedWad pack = AnimatedWad::Clean();
  pack.animations[0].NumStateChanges = 0;
  pack.stateChanges.clear();
  pack.dispatches.clear();
  const std::vector<Finding> notes = SectionFindings(WadFileBytes(pack.build()), "section-empty");
  ASSERT_EQ(notes.size(), 2u);  // state changes and dispatches
  for (const Finding& f : notes) EXPECT_EQ(f.severity, Severity::Note) << f.section;
  // The same, but an animation still names state changes.
  pack.animations[0].NumStateChanges = 1;
  const std::vector<Finding> errors = SectionFindings(WadFileBytes(pack.build()), "section-empty-needed");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].severity, Severity::Error);
  EXPECT_EQ(errors[0].section, "StateChanges");
}

TEST(CheckSections, AFileCutShortIsAnErrorAboutTheSectionItEndsIn) {
  Bytes file = WadFileBytes(AnimatedWad::Clean().build());
  // The moveables and static meshes come last: cut inside the moveables.
  file.resize(file.size() - 4 - StaticMeshRecord::kFileSize - 10);
  const std::vector<Finding> cut = SectionFindings(file, "section-short");
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].section, "Moveables");
  EXPECT_EQ(SectionFindings(file, "section-missing").size(), 1u);  // the static meshes
}

// A cut file that claims 100000 moveables reads zeros for those it lacks:
// the first of them and the last are judged, the rest are told in one note.
TEST(CheckSections, MoveablesPastTheEndOfACutFileAreJudgedOnce) {
  const WadDocument clean = AnimatedWad::Clean().build();
  Bytes file = WadFileBytes(clean);
  const std::size_t held = clean.Moveables.size();
  const std::size_t countAt =
      file.size() - 4 - clean.StaticMeshes.size() * StaticMeshRecord::kFileSize - held * MoveableRecord::kFileSize - 4;
  file.resize(countAt + 4 + held * MoveableRecord::kFileSize);
  const std::uint32_t claimed = 100000;
  for (std::size_t i = 0; i < 4; ++i) file[countAt + i] = static_cast<std::uint8_t>(claimed >> (8 * i));
  const std::vector<Finding> skeletons = SectionFindings(file, "skeleton");
  ASSERT_EQ(skeletons.size(), 2u);  // NumMeshes 0, for moveable `held` and the last
  EXPECT_EQ(skeletons[0].moveable, held);
  EXPECT_EQ(skeletons[1].moveable, claimed - 1);
  const std::vector<Finding> note = SectionFindings(file, "moveables-past-end");
  ASSERT_EQ(note.size(), 1u);
  EXPECT_EQ(note[0].record, static_cast<std::int64_t>(held + 1));
}

}  // namespace
}  // namespace tarnlow::test
