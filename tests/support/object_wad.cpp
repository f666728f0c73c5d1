#include "tests/support/object_wad.h"

#include <algorithm>
#include <map>

#include "anim/animation_graph.h"
#include "tests/support/animated_wad.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {

namespace {

std::int16_t i16(std::size_t v) { return static_cast<std::int16_t>(v); }

}  // namespace

WadDocument ObjectWad(const std::vector<TestObject>& moveables, const std::vector<TestStatic>& statics) {
  std::map<std::uint8_t, std::size_t> rectangleOf;
  std::vector<TextInfoRecord> infos;
  // Four rows hold every rectangle: the page is short, as small WADs' are.
  Bytes rows(4 * 768, 0);
  const auto rectangle = [&](std::uint8_t colour) {
    const auto [it, added] = rectangleOf.emplace(colour, infos.size());
    if (added) {
      const std::size_t x = 4 * infos.size();
      infos.push_back({{static_cast<std::uint8_t>(x), 0, 0, 0, 0, 3, 0, 3}});
      for (std::size_t y = 0; y < 4; ++y) std::fill_n(rows.begin() + static_cast<std::ptrdiff_t>(y * 768 + x * 3), 12, colour);
    }
    return i16(it->second);
  };
  std::vector<MeshRecord> meshes;
  const auto mesh = [&](std::uint8_t colour) {
    meshes.push_back(SquareMesh(static_cast<std::int16_t>(8 + colour % 32), 0, 0, rectangle(colour)));
  };

  std::vector<MoveableRecord> records;
  std::vector<std::int32_t> trees;
  std::vector<AnimationRecord> animations;
  std::vector<StateChangeRecord> changes;
  std::vector<AnimDispatchRecord> dispatches;
  std::vector<std::int16_t> commands, frames;
  std::vector<std::size_t> leadAnimation;  // per animation leading elsewhere: its index
  for (const TestObject& o : moveables) {
    MoveableRecord m = Moveable(o.slot, i16(o.colours.size()), i16(meshes.size()));
    for (std::uint8_t c : o.colours) mesh(c);
    if (o.colours.size() > 1) m.MeshTree = static_cast<std::int32_t>(trees.size());
    for (std::size_t j = 1; j < o.colours.size(); ++j) trees.insert(trees.end(), {0, 0, 40, 0});
    const std::size_t first = animations.size();
    m.Unknown3 = WriteAnimationRef({static_cast<std::int32_t>(2 * frames.size()), o.animations > 0 ? i16(first) : i16(-1)});
    for (int k = 0; k < o.animations; ++k) {
      AnimationRecord a;
      a.FrameOffset = static_cast<std::int32_t>(2 * frames.size());
      a.FrameRate = 1;
      a.FrameSize = static_cast<std::uint8_t>(9 + o.colours.size());
      frames.insert(frames.end(), {-40, 40, -40, 40, -10, 10, 0, 0, 0});
      for (std::size_t j = 0; j < o.colours.size(); ++j) frames.push_back(Turn('Y', 0));
      a.FrameStart = a.FrameEnd = i16(static_cast<std::size_t>(k));
      a.NextAnimation = i16(first + static_cast<std::size_t>((k + 1) % o.animations));
      a.NextFrame = i16(static_cast<std::size_t>((k + 1) % o.animations));
      if (k + 1 == o.animations && o.leadsInto) leadAnimation.push_back(animations.size());
      if (k == 0) {
        a.NumStateChanges = 1;
        a.StateChange = i16(changes.size());
        changes.push_back({1, 1, i16(dispatches.size())});
        dispatches.push_back({0, 0, i16(first + static_cast<std::size_t>(o.animations - 1)),
                              i16(static_cast<std::size_t>(o.animations - 1))});
        a.AnimCommandCount = i16(o.sounds.size());
        a.AnimCommands = i16(commands.size());
        for (int s : o.sounds) commands.insert(commands.end(), {5, 0, static_cast<std::int16_t>(s)});
      }
      animations.push_back(a);
    }
    records.push_back(m);
  }
  std::vector<StaticMeshRecord> staticRecords;
  for (const TestStatic& s : statics) {
    staticRecords.push_back(StaticMeshAt(s.slot, i16(meshes.size())));
    mesh(s.colour);
  }
  WadBuilder builder;
  builder.textInfo(infos).meshes(meshes).moveables(records).staticMeshes(staticRecords);
  builder.animations(animations).stateChanges(changes).animDispatches(dispatches).animCommands(commands);
  builder.meshTrees(trees).frames(frames);
  WadDocument d = builder.build();
  d.NumTextData = static_cast<std::int32_t>(rows.size());
  d.TextData = RecordArray<TextureRow>(4, rows);
  // Leads into another object are set once every object's animations are known.
  std::size_t lead = 0;
  std::vector<AnimationRecord> all = d.Animations.toVector();
  for (const TestObject& o : moveables) {
    if (!o.leadsInto) continue;
    for (std::size_t m = 0; m < d.Moveables.size(); ++m) {
      if (d.Moveables[m].ObjectID != o.leadsInto->first) continue;
      all[leadAnimation[lead]].NextAnimation = i16(static_cast<std::size_t>(ObjectAnimationRange(d, m).first + o.leadsInto->second));
      all[leadAnimation[lead]].NextFrame = i16(static_cast<std::size_t>(o.leadsInto->second));
    }
    ++lead;
  }
  d.Animations = RecordArray<AnimationRecord>::fromRecords(std::span<const AnimationRecord>(all));
  return d;
}

std::unique_ptr<ObjectNameTables> TestNames() {
  auto names = std::make_unique<ObjectNameTables>();
  auto& objects = names->ObjectNames[ObjectNameTables::kObjectColumn];
  objects[0] = "LARA";
  objects[8] = "LARA_SKIN";
  for (int i = 1; i <= 3; ++i) objects[static_cast<std::size_t>(19 + i)] = "ANIMATING" + std::to_string(i);
  objects[30] = "UZI_ANIM";
  objects[31] = "CROSSBOW_ANIM";
  const std::pair<const char*, int> statics[] = {{"PLANT0", 0}, {"PLANT1", 1}, {"PLANT2", 2}, {"DEBRIS0", 50}};
  for (std::size_t row = 0; row < 4; ++row) {
    names->ObjectNames[3][row] = statics[row].first;
    names->ObjectNumbers[3][row] = statics[row].second;
  }
  return names;
}

}  // namespace tarnlow::test
