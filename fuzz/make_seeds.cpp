// Writes the seed corpora of the fuzz targets: small documents like the
// sample (real meshes with normals, shades, quads and unknown faces, dummy
// and null meshes) and hand-made broken files. Run it after changing the
// file forms; its output is committed under fuzz/corpus/.
//
//   make_seeds <corpus folder>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "anim/animation_graph.h"
#include "data/sample_content.h"
#include "fuzz/anim_fuzz_input.h"
#include "fuzz/mesh_fuzz_input.h"
#include "tests/support/animated_wad.h"
#include "tests/support/object_wad.h"
#include "tests/support/sound_builder.h"
#include "mesh/mesh_encoder.h"
#include "tests/support/wad_builder.h"
#include "wad/byte_writer.h"
#include "wad/object_names_file.h"

namespace {

using tarnlow::Bytes;
using tarnlow::ByteWriter;
using tarnlow::MeshFace;
using tarnlow::MeshRecord;
using tarnlow::test::WadBuilder;
using tarnlow::test::WadLayout;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
const std::vector<std::pair<const char*, std::int32_t>> kEdgeCounts = {
    {"zero", 0}, {"minus1", -1}, {"min", kMin}, {"max", kMax}};

std::filesystem::path gRoot;

void Save(const std::string& target, const std::string& name, const Bytes& bytes) {
  const auto folder = gRoot / target;
  std::filesystem::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "make_seeds: cannot write %s\n", (folder / name).string().c_str());
    std::exit(1);
  }
}

Bytes Cut(Bytes bytes, std::size_t length) {
  bytes.resize(std::min(bytes.size(), length));
  return bytes;
}

MeshRecord ShadedQuadMesh() {
  MeshRecord m = tarnlow::test::SimpleMesh(4);
  m.NumNormals = -4;
  m.Normals.clear();
  m.Shades = {100, -200, 0x7FFF, -32768};
  m.NumFaces = 2;
  m.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 7, 1}, MeshFace{MeshFace::kTriangle, {3, 2, 1}, -1, 2}};
  return m;
}

MeshRecord UnknownFaceMesh() {
  MeshRecord m = tarnlow::test::SimpleMesh(3);
  m.NumFaces = 3;
  m.Faces = {MeshFace{7, {}, 0, 0}, MeshFace{MeshFace::kTriangle, {0, 1, 2}, 3, 0}, MeshFace{0, {}, 0, 0}};
  return m;
}

std::vector<MeshRecord> SampleMeshes() {
  return {tarnlow::test::SimpleMesh(3), tarnlow::test::NullShapeMesh(), ShadedQuadMesh(), UnknownFaceMesh()};
}

// A small document shaped like a real WAD: every kind of mesh, an object
// whose first mesh is a dummy (pointer 0 names the first mesh), one with
// the null mesh, one whose id has no name row, animations and statics.
tarnlow::WadDocument MiniSample() {
  tarnlow::AnimationRecord walk;
  walk.FrameOffset = 1234;
  walk.FrameRate = 1;
  walk.FrameSize = 20;
  walk.StateID = 2;
  walk.Unknown1 = {1, 2, 3, 4, 5, 6, 7, 255};
  walk.FrameStart = 0;
  walk.FrameEnd = 30;
  walk.NextAnimation = 1;
  walk.NumStateChanges = 1;
  walk.AnimCommandCount = 2;
  tarnlow::AnimationRecord run = walk;
  run.FrameOffset = -8;
  run.StateID = -1;
  tarnlow::StaticMeshRecord statue;
  statue.Bytes.fill(0x5A);
  tarnlow::MoveableRecord lara = tarnlow::test::Moveable(0, 4, 0);
  lara.Unknown3 = {9, 8, 7, 6, 5, 4};
  return WadBuilder()
      .version(130)
      .textInfo({tarnlow::TextInfoRecord{{1, 2, 3, 4, 5, 6, 7, 8}}, tarnlow::TextInfoRecord{}})
      .textureRows(2)
      .meshes(SampleMeshes())
      .animations({walk, run})
      .stateChanges({{2, 1, 0}, {3, 0, -1}})
      .animDispatches({{0, 10, 1, 0}, {11, 30, -1, 5}})
      .animCommands({1, -2, 3})
      .meshTrees({0, 1, -1, 2})
      .frames({5, 6, -7})
      .moveables({lara, tarnlow::test::Moveable(1, 2, 1), tarnlow::test::Moveable(501, 1, 2),
                  tarnlow::test::Moveable(3, 3, 1)})
      .staticMeshes({statue, tarnlow::StaticMeshRecord{}})
      .build();
}

void WadSeeds(const std::string& target) {
  const WadLayout mini = WadLayout::Of(MiniSample());
  Save(target, "mini_sample.wad", mini.bytes());
  Save(target, "smallest.wad", tarnlow::test::WadFileBytes(WadBuilder().build()));
  Bytes trailing = mini.bytes();
  trailing.insert(trailing.end(), 40, 0xEE);
  Save(target, "trailing_bytes.wad", trailing);
  for (std::int32_t count : {383, 384, 1152, 768 * 3 + 384}) {
    WadLayout texture = WadLayout::Of(WadBuilder().build());
    texture.counts[1] = count;
    Save(target, "texture_" + std::to_string(count) + ".wad", texture.bytes());
  }
  // Cut inside the texture rows, inside the moveables, inside the statics.
  Save(target, "cut_in_texture.wad", Cut(mini.bytes(), mini.countOffset(1) + 4 + 700));
  Save(target, "cut_in_moveables.wad", Cut(mini.bytes(), mini.countOffset(10) + 4 + 20));
  Save(target, "cut_in_statics.wad", Cut(mini.bytes(), mini.countOffset(11) + 4 + 40));
  for (int section : {0, 1, 3, 10, 11}) {
    for (const auto& [label, value] : kEdgeCounts) {
      WadLayout layout = mini;
      layout.counts[static_cast<std::size_t>(section)] = value;
      Save(target, std::string("count_") + tarnlow::test::kSectionNames[static_cast<std::size_t>(section)] + "_" + label + ".wad",
           layout.bytes());
    }
  }
}

// What object packs and cut downloads look like: each section empty in turn
// (and all of them), and a cut inside each section.
void LenientSeeds() {
  const std::string t = "fuzz_wad_lenient";
  WadSeeds(t);
  const WadLayout mini = WadLayout::Of(MiniSample());
  WadLayout allEmpty = mini;
  for (std::size_t s = 0; s < WadLayout::kSections; ++s) {
    WadLayout empty = mini;
    empty.counts[s] = allEmpty.counts[s] = 0;
    empty.data[s].clear();
    allEmpty.data[s].clear();
    const std::string name = tarnlow::test::kSectionNames[s];
    Save(t, "empty_" + name + ".wad", empty.bytes());
    Save(t, "cut_in_" + name + ".wad", Cut(mini.bytes(), mini.countOffset(static_cast<int>(s)) + 4 + mini.data[s].size() / 2));
  }
  Save(t, "all_empty.wad", allEmpty.bytes());
}

void ReportSeeds() {
  Save("fuzz_report", "mini_sample.wad", tarnlow::test::WadFileBytes(MiniSample()));
  Save("fuzz_report", "smallest.wad", tarnlow::test::WadFileBytes(WadBuilder().build()));
  WadLayout texture = WadLayout::Of(WadBuilder().build());
  texture.counts[1] = 1152;
  Save("fuzz_report", "texture_1152.wad", texture.bytes());
  // Text beyond ASCII reaches the RTF only through names, so the report
  // seeds differ from the reader's by negative and extreme field values.
  tarnlow::AnimationRecord extreme;
  extreme.FrameOffset = kMin;
  extreme.StateID = -32768;
  extreme.Unknown2.fill(255);
  extreme.AnimCommands = 32767;
  Save("fuzz_report", "extreme_values.wad",
       tarnlow::test::WadFileBytes(WadBuilder()
                                       .meshPointers({kMin, -1, 0, kMax})
                                       .animations({extreme})
                                       .animCommands({-32768, 32767})
                                       .build()));
}

Bytes SwdBytes(std::int32_t unknown, std::int32_t entries, std::int32_t texture, std::int32_t records,
               std::size_t entryBytes, std::size_t textureBytes, std::size_t recordBytes) {
  Bytes out;
  ByteWriter w(out);
  w.i32(unknown);
  w.i32(entries);
  out.resize(out.size() + entryBytes, 0x11);
  w.i32(texture);
  out.resize(out.size() + textureBytes, 0x22);
  w.i32(records);
  out.resize(out.size() + recordBytes, 0x33);
  return out;
}

void SwdSeeds() {
  const std::string t = "fuzz_swd_reader";
  Save(t, "all_zero.swd", SwdBytes(0, 0, 0, 0, 0, 0, 0));
  const Bytes full = SwdBytes(7, 2, 768, 3, 32, 768, 24);
  Save(t, "small.swd", full);
  Save(t, "cut_in_texture.swd", Cut(full, 4 + 4 + 32 + 4 + 100));
  Save(t, "empty.swd", Bytes{});
  for (std::int32_t count : {383, 384, 1152}) {
    Save(t, "texture_" + std::to_string(count) + ".swd", SwdBytes(0, 0, count, 0, 0, 768, 0));
  }
  for (const auto& [label, value] : kEdgeCounts) {
    if (value == 0) continue;
    Save(t, std::string("entries_") + label + ".swd", SwdBytes(0, value, 0, 0, 0, 0, 0));
    Save(t, std::string("texture_") + label + ".swd", SwdBytes(0, 0, value, 0, 0, 0, 0));
    Save(t, std::string("records_") + label + ".swd", SwdBytes(0, 0, 0, value, 0, 0, 0));
  }
}

// A name file whose sections have the given counts, each followed by as
// many one-letter items as fit in `items` (sections 3 to 6 add a number).
Bytes NameFile(const std::vector<std::int32_t>& counts, std::int32_t items) {
  Bytes out;
  ByteWriter w(out);
  for (std::size_t section = 0; section < counts.size(); ++section) {
    w.i32(counts[section]);
    for (std::int32_t i = 0; i < std::min(counts[section], items); ++i) {
      w.i32(1);
      w.u8(static_cast<std::uint8_t>('a' + i % 26));
      if (section >= 2) w.i32(i);
    }
  }
  return out;
}

void NameSeeds() {
  const std::string t = "fuzz_object_names";
  tarnlow::ObjectNamesFileContent content;
  content.objectNames = {"LARA", "PISTOLS_ANIM", "", "Caf\u00e9 \u20ac"};
  content.meshNames = {"Hips", "Left thigh"};
  content.section3 = {{"Static", 1}, {"Plant", -2}};
  content.section4 = {{"Door", 30}};
  content.section5 = {{"Sprite", kMax}};
  content.section6 = {{"Other", kMin}};
  Save(t, "small.dat", tarnlow::EncodeObjectNames(content));
  Save(t, "empty.dat", Bytes{});
  Save(t, "three_bytes.dat", Bytes{3, 0, 0});
  Save(t, "section1_502_items.dat", NameFile({502}, 502));
  Save(t, "section2_82_items.dat", NameFile({0, 82}, 82));
  Save(t, "section6_502_items.dat", NameFile({0, 0, 0, 0, 0, 502}, 502));
  for (std::size_t section = 0; section < 6; ++section) {
    std::vector<std::int32_t> counts(section + 1, 1);
    counts[section] = -3;
    Save(t, "section" + std::to_string(section + 1) + "_negative.dat", NameFile(counts, 1));
  }
  Save(t, "section1_min.dat", NameFile({kMin}, 0));
  Save(t, "section2_min.dat", NameFile({0, kMin}, 0));
  // One string claiming more bytes than the file has, one a negative length.
  Bytes longString;
  ByteWriter w(longString);
  w.i32(2);
  w.i32(1000);
  w.u8('x');
  Save(t, "string_beyond_file.dat", longString);
  Bytes negativeString;
  ByteWriter n(negativeString);
  n.i32(1);
  n.i32(-7);
  n.i32(1);
  n.i32(2);
  n.u8('o');
  n.u8('k');
  Save(t, "string_negative_length.dat", negativeString);
  // 155 bytes: section 2 claims 1,023,538,433 names, the first of them
  // 60,000,000 characters long, far past the end of the file.
  Bytes hugeName;
  ByteWriter h(hugeName);
  h.i32(0);
  h.i32(1'023'538'433);
  h.i32(60'000'000);
  while (hugeName.size() < 155) h.u8('n');
  Save(t, "mesh_name_past_the_end.dat", hugeName);
}

void MeshSeeds() {
  const std::string t = "fuzz_mesh";
  const tarnlow::WadDocument mini = MiniSample();
  tarnlow::fuzz::MeshFuzzInput base;
  base.moveables = mini.Moveables.toVector();
  base.pointers = mini.MeshPointers.toVector();
  base.meshData = mini.MeshData;
  Save(t, "mini_sample.bin", base.Encode());

  auto variant = [&](const std::string& name, auto change) {
    tarnlow::fuzz::MeshFuzzInput in = base;
    change(in);
    Save(t, name, in.Encode());
  };
  const auto size = static_cast<std::int32_t>(base.meshData.size());
  variant("pointers_off_end.bin", [&](auto& in) { in.pointers = {size, size - 2, size - 11, -1, kMin, kMax}; });
  variant("moveables_outside_table.bin", [&](auto& in) {
    in.moveables = {tarnlow::test::Moveable(2, 3, -2), tarnlow::test::Moveable(-1, 1, 0),
                    tarnlow::test::Moveable(4, 40, 30), tarnlow::test::Moveable(0, -5, 0)};
  });
  auto single = [&](const std::string& name, MeshRecord mesh, std::size_t cutBytes = 0) {
    tarnlow::fuzz::MeshFuzzInput in;
    in.moveables = {tarnlow::test::Moveable(0, 2, 0)};
    in.meshData = tarnlow::EncodeMesh(mesh);
    in.meshData.resize(in.meshData.size() - std::min(cutBytes, in.meshData.size()));
    if (in.meshData.size() % 2 != 0) in.meshData.push_back(0);
    in.pointers = {0, 0};
    Save(t, name, in.Encode());
  };
  MeshRecord m = tarnlow::test::SimpleMesh(3);
  m.NumVertices = static_cast<std::int16_t>(0x8000 - 0x10000);
  single("vertex_count_overflow.bin", m);
  m = tarnlow::test::SimpleMesh(3);
  m.NumVertices = 0;
  single("vertex_count_zero.bin", m);
  m = tarnlow::test::SimpleMesh(3);
  m.CollisionSize = kMin;
  single("collision_overflow.bin", m);
  m = ShadedQuadMesh();
  m.NumNormals = static_cast<std::int16_t>(0xC000 - 0x10000);
  single("shades_16384.bin", m);
  m = ShadedQuadMesh();
  m.NumNormals = -400;
  single("shades_past_end.bin", m);
  m = ShadedQuadMesh();
  m.NumFaces = 5000;
  single("faces_past_end.bin", m);
  single("cut_mid_face.bin", tarnlow::test::SimpleMesh(3), 6);
  m = tarnlow::test::NullShapeMesh();
  m.NumNormals = -2;
  m.Normals.clear();
  m.Shades = {1, 2};
  single("null_shape_with_shades.bin", m);
}

// The sample and the clean animated WAD, and the clean one broken in the
// ways the check looks for.
void AnimSeeds() {
  const std::string t = "fuzz_anim";
  using tarnlow::test::AnimatedWad;
  using tarnlow::fuzz::AnimFuzzInput;
  Save(t, "sample.bin", AnimFuzzInput::EncodeDocument(tarnlow::sample::SampleWad()));
  Save(t, "clean.bin", AnimFuzzInput::EncodeDocument(AnimatedWad::Clean().build()));
  // Thousands of animations naming one long block of key frames: work that
  // grows with animations times key frames shows here first.
  Save(t, "shared_frames.bin", AnimFuzzInput::EncodeDocument(AnimatedWad::SharedFrames(4000, 1000).build()));
  const auto broken = [&](const std::string& name, auto change) {
    AnimatedWad wad = AnimatedWad::Clean();
    change(wad);
    Save(t, name, AnimFuzzInput::EncodeDocument(wad.build()));
  };
  broken("tree_outside.bin", [](AnimatedWad& w) { w.moveables[0].MeshTree = 1; });
  broken("pop_empty_stack.bin", [](AnimatedWad& w) { w.meshTrees[0] = 3; });
  broken("first_animation_outside.bin", [](AnimatedWad& w) { w.moveables[0].Unknown3 = tarnlow::WriteAnimationRef({0, 30}); });
  broken("frame_overrun.bin", [](AnimatedWad& w) { w.frames[9] = 0; });
  broken("odd_frame_offset.bin", [](AnimatedWad& w) { w.animations[0].FrameOffset = 3; });
  broken("frames_past_end.bin", [](AnimatedWad& w) { w.animations[1].FrameOffset = 60; });
  broken("rate_zero.bin", [](AnimatedWad& w) { w.animations[0].FrameRate = 0; });
  broken("long_animation.bin", [](AnimatedWad& w) { w.animations[0].FrameEnd = 32767; });
  broken("unknown_command.bin", [](AnimatedWad& w) { w.commands[0] = -3; });
  broken("dispatch_outside.bin", [](AnimatedWad& w) { w.stateChanges[0].AnimDispatches = 30; });
  broken("many_meshes.bin", [](AnimatedWad& w) { w.moveables[0].NumMeshes = 64; });
}

// Sources for the merge: objects that share meshes and rectangles with the
// clean target, lead into another object, play sounds, and broken ones.
void MergeSeeds() {
  const std::string t = "fuzz_merge";
  using tarnlow::test::ObjectWad;
  using tarnlow::test::WadFileBytes;
  Save(t, "shared.wad", WadFileBytes(ObjectWad({{20, {3, 1, 9}, 3, {5, 7}}})));
  Save(t, "lead.wad", WadFileBytes(ObjectWad({{30, {1}, 3, {}, std::pair(31, 1)}, {31, {2}, 2}})));
  Save(t, "statics.wad", WadFileBytes(ObjectWad({{8, {6, 7}, 1}}, {{50, 5}, {1, 6}})));
  tarnlow::WadDocument broken = ObjectWad({{22, {4, 5}, 2}});
  broken.AnimCommands = tarnlow::RecordArray<std::int16_t>::fromRecords({9});
  Save(t, "unknown_command.wad", WadFileBytes(broken));
}

}  // namespace

// A fuzz_sound input: the .sam's length, the .sam, then the .sfx.
Bytes SoundInput(const std::string& sam, const Bytes& sfx) {
  Bytes out;
  ByteWriter w(out);
  w.u16(static_cast<std::uint16_t>(sam.size()));
  w.bytes({reinterpret_cast<const std::uint8_t*>(sam.data()), sam.size()});
  w.bytes(sfx);
  return out;
}

void SoundSeeds() {
  const std::string t = "fuzz_sound";
  using tarnlow::test::SfxBytes;
  std::string sam;
  tarnlow::test::SfxParts parts = tarnlow::test::CanonicalSfx({0, 1, 4, 369}, {4, 1, 0, 3}, sam);
  const Bytes canonical = SfxBytes(parts);
  Save(t, "canonical.bin", SoundInput(sam, canonical));
  Save(t, "cut_in_infos.bin", SoundInput(sam, Cut(canonical, 760)));
  Save(t, "cut_in_indices.bin", SoundInput(sam, Cut(canonical, canonical.size() - 6)));
  Save(t, "sam_short.bin", SoundInput(sam.substr(0, sam.size() / 2), canonical));
  Save(t, "zero_748.bin", SoundInput("", Bytes(748, 0)));
  Save(t, "empty.bin", Bytes{});
  tarnlow::test::SfxParts spoiled = parts;
  spoiled.trailingBytes = 44;
  Save(t, "trailing.bin", SoundInput(sam, SfxBytes(spoiled)));
  spoiled = parts;
  spoiled.map[7] = 1;
  spoiled.map[8] = 9;
  Save(t, "shared_and_past.bin", SoundInput(sam + "extra.wav\r\n", SfxBytes(spoiled)));
  spoiled = parts;
  spoiled.infoCount = kMax;
  Save(t, "info_count_max.bin", SoundInput(sam, SfxBytes(spoiled)));
  spoiled = parts;
  spoiled.sampleCount = 0xFFFFFFFF;
  Save(t, "sample_count_max.bin", SoundInput(sam, SfxBytes(spoiled)));
  Save(t, "was.bin", SoundInput("LARA:Z:\\W\\LARA.prk\nno colon\n", {}));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds <corpus folder>\n");
    return 2;
  }
  gRoot = argv[1];
  WadSeeds("fuzz_wad_reader");
  LenientSeeds();
  ReportSeeds();
  SwdSeeds();
  NameSeeds();
  MeshSeeds();
  AnimSeeds();
  MergeSeeds();
  SoundSeeds();
  return 0;
}
