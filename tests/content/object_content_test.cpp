#include "content/object_content.h"

#include <functional>
#include <gtest/gtest.h>

#include "content/content_pool.h"
#include "content/stored_alike.h"
#include "sound/sound_table.h"
#include "tests/support/animated_wad.h"
#include "tests/support/content_wad.h"

namespace tarnlow {
namespace {

using test::ContentWad;

std::vector<ContentPart> partsOf(const std::vector<ContentDifference>& differences) {
  std::vector<ContentPart> parts;
  for (const ContentDifference& d : differences) parts.push_back(d.part);
  return parts;
}

TEST(ObjectContent, SameObjectAtOtherRecordPositionsHasSameContent) {
  const WadDocument plain = ContentWad::Plain().build(), moved = ContentWad::Moved().build();
  const ObjectContent a = MoveableContentOf(plain, 0);
  const ObjectContent b = MoveableContentOf(moved, 1);
  ASSERT_EQ(a.animations.at(1).keyFrames.size(), 1u);
  ASSERT_TRUE(a.meshes[0]->pixels[0] && a.meshes[1]->pixels[0]);
  EXPECT_EQ(a.animations[0].next, (AnimationTarget{AnimationTarget::Kind::ThisObject, 0, 1}));
  EXPECT_TRUE(CompareContent(a, b).empty()) << CompareContent(a, b).front().first;
  EXPECT_TRUE(CompareContent(StaticContentOf(plain, 0), StaticContentOf(moved, 1)).empty());
  // Moved names its picture by other records, so its bytes differ.
  EXPECT_FALSE(StoredAlike(plain, moved).moveables(0, 1));
  // The whole WAD at once gives the same, each mesh decoded once.
  const WadContent all = WadContentOf(moved);
  ASSERT_EQ(all.statics.size(), 2u);
  EXPECT_TRUE(CompareContent(all.moveables.at(1), b).empty());
  EXPECT_EQ(all.moveables[1].meshes[0], all.statics[1].mesh);
}

TEST(ObjectContent, SameBytesAtOtherRecordPositionsAreStoredAlike) {
  const WadDocument plain = ContentWad::Plain().build(), moved = ContentWad::Relocated().build();
  ASSERT_TRUE(CompareContent(MoveableContentOf(plain, 0), MoveableContentOf(moved, 0)).empty());
  StoredAlike stored(plain, moved);
  EXPECT_TRUE(stored.moveables(0, 0));
  EXPECT_TRUE(stored.statics(0, 0));
}

// One change each to the plain WAD, and the one part it shows in.
struct Change {
  const char* name;
  std::function<void(ContentWad&)> apply;
  std::vector<ContentPart> moveable;  // parts in which the object differs
  std::vector<ContentPart> statics;   // parts in which the static differs
};

TEST(ObjectContent, EachChangeShowsInItsOwnPart) {
  const std::vector<Change> changes = {
      {"a vertex", [](ContentWad& w) { w.meshes[1].Vertices[2].Y = 1; }, {ContentPart::Meshes}, {}},
      {"a face's flags", [](ContentWad& w) { w.meshes[0].Faces[0].Attributes = 2; }, {ContentPart::Meshes},
       {ContentPart::Meshes}},
      {"a pixel under the quad", [](ContentWad& w) { w.pageRows[ContentWad::PixelAt(15, 11)] ^= 1; },
       {ContentPart::Textures}, {ContentPart::Textures}},
      {"the quad's picture mirrored", [](ContentWad& w) { w.meshes[0].Faces[0].Texture = -1; },
       {ContentPart::Textures}, {ContentPart::Textures}},
      {"the triangle's first corner", [](ContentWad& w) { w.meshes[1].Faces[0].Texture = 0x4000 | 1; },
       {ContentPart::Textures}, {}},
      {"a pixel beside the picture", [](ContentWad& w) { w.pageRows[ContentWad::PixelAt(16, 4)] ^= 1; }, {}, {}},
      {"a mesh-tree offset", [](ContentWad& w) { w.meshTrees[2] = 1; }, {ContentPart::MeshTree}, {}},
      {"a NextFrame", [](ContentWad& w) { w.animations[1].NextFrame = 1; }, {ContentPart::Animations}, {}},
      {"a dispatch's target", [](ContentWad& w) { w.dispatches[0].NextAnimation = 0; }, {ContentPart::Animations},
       {}},
      {"a sound played", [](ContentWad& w) { w.commands[2] = 13; }, {ContentPart::Animations}, {}},
      {"a key-frame turn", [](ContentWad& w) { w.frames[21] = test::Turn('X', 513); }, {ContentPart::KeyFrames}, {}},
      {"the static's collision box", [](ContentWad& w) { w.statics[0].Bytes[20] ^= 1; }, {}, {ContentPart::Boxes}},
  };
  const WadDocument plain = ContentWad::Plain().build();
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    ContentWad w = ContentWad::Plain();
    change.apply(w);
    const WadDocument changed = w.build();
    EXPECT_EQ(partsOf(CompareContent(MoveableContentOf(plain, 0), MoveableContentOf(changed, 0))), change.moveable);
    EXPECT_EQ(partsOf(CompareContent(StaticContentOf(plain, 0), StaticContentOf(changed, 0))), change.statics);
    // Stored alike exactly when the content is equal, for these changes.
    StoredAlike stored(plain, changed);
    EXPECT_EQ(stored.moveables(0, 0), change.moveable.empty());
    EXPECT_EQ(stored.statics(0, 0), change.statics.empty());
  }
}

TEST(ObjectContent, SoundsCompareHowTheTableDefinesTheSlotsPlayed) {
  const WadDocument wad = ContentWad::Plain().build();  // its animation plays slot 12
  SoundTable table;
  table.slots[12] = SoundSlot{.slot = 12, .volume = 200, .samples = {"step.wav"}};
  SoundTable quieter = table, unplayedAdded = table;
  quieter.slots[12].volume = 100;
  unplayedAdded.slots[40] = SoundSlot{.slot = 40};
  const ObjectContent with = MoveableContentOf(wad, 0, &table);
  ASSERT_EQ(with.sounds.size(), 1u);
  EXPECT_EQ(partsOf(CompareContent(with, MoveableContentOf(wad, 0, &quieter))), std::vector{ContentPart::Sounds});
  EXPECT_EQ(partsOf(CompareContent(with, MoveableContentOf(wad, 0))), std::vector{ContentPart::Sounds});
  EXPECT_TRUE(CompareContent(with, MoveableContentOf(wad, 0, &unplayedAdded)).empty());
}

TEST(ObjectContent, LeadIntoAnotherObjectIsNamedByItsSlot) {
  ContentWad w = ContentWad::Moved();
  w.animations[0].NextAnimation = 2;  // slot 10's animation into slot 35's second
  const ObjectContent leading = MoveableContentOf(w.build(), 0);
  EXPECT_EQ(leading.animations[0].next, (AnimationTarget{AnimationTarget::Kind::OtherSlot, 35, 1}));
  EXPECT_FALSE(StoredAlike(ContentWad::Moved().build(), w.build()).moveables(0, 0));
  w.animations[0].NextAnimation = 9;  // six past the last: the same after animations are added
  EXPECT_EQ(MoveableContentOf(w.build(), 0).animations[0].next, (AnimationTarget{AnimationTarget::Kind::Nowhere, 0, 6}));
}

TEST(ObjectContent, BrokenReferencesAreKeptAsContentNotThrown) {
  ContentWad w = ContentWad::Plain();
  w.moveables[0].StartingMesh = 1;  // its second mesh has no pointer
  w.moveables[0].MeshTree = 2;      // its link runs past MeshTrees
  w.animations[0].FrameSize = 10;  // its key frames need 11 words
  w.animations[1].FrameOffset = 1000;
  const ObjectContent content = MoveableContentOf(w.build(), 0);
  EXPECT_EQ(content.meshes[1]->unreadable, MeshFailureKind::OutOfRange);
  EXPECT_FALSE(content.meshTree[0].has_value());
  EXPECT_TRUE(content.animations[0].keyFrames[0] && !content.animations[0].keyFrames[1]);
  ASSERT_EQ(content.animations[1].keyFrames.size(), 1u);
  EXPECT_FALSE(content.animations[1].keyFrames[0].has_value());
  EXPECT_THROW(MoveableContentOf(w.build(), 1), std::out_of_range);
}

// Key frames stored in other words but posing alike are equal, however
// the contents share what their words share.
TEST(ObjectContent, ContentsOfOnePoolComparePosesNotWords) {
  ContentWad changed = ContentWad::Plain();
  changed.frames.at(static_cast<std::size_t>(changed.animations[1].FrameOffset / 2) + 9) += 5;
  // The first animation's two key frames 20 words apart, more than they read.
  ContentWad spaced = ContentWad::Plain();
  spaced.frames.insert(spaced.frames.begin() + 11, 9, 7);
  spaced.animations[0].FrameSize = 20;
  spaced.animations[1].FrameOffset += 18;
  const WadDocument plain = ContentWad::Plain().build(), moved = ContentWad::Moved().build(), turned = changed.build();
  ContentPool pool;
  const ObjectContent a = MoveableContentOf(plain, 0, nullptr, &pool);
  EXPECT_TRUE(CompareContent(a, MoveableContentOf(moved, 1, nullptr, &pool)).empty());
  EXPECT_TRUE(CompareContent(a, MoveableContentOf(spaced.build(), 0, nullptr, &pool)).empty());
  EXPECT_TRUE(CompareContent(a, MoveableContentOf(plain, 0, nullptr, &pool)).empty());
  EXPECT_EQ(partsOf(CompareContent(a, MoveableContentOf(turned, 0, nullptr, &pool))), std::vector{ContentPart::KeyFrames});
}

}  // namespace
}  // namespace tarnlow
