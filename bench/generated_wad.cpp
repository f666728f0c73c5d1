// The generated WADs the benchmarks share: objects of LARA's 15 meshes with
// their animations, texture pages and key frames, every reference sound.

#include "bench/generated_wad.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "anim/animation_graph.h"
#include "anim/drawn_object.h"
#include "anim/frame_box.h"
#include "mesh/mesh_encoder.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace tarnlow::bench {

namespace {

std::int16_t i16(long v) { return static_cast<std::int16_t>(v); }

template <typename T>
RecordArray<T> arrayOf(const std::vector<T>& records) {
  return RecordArray<T>::fromRecords(std::span<const T>(records));
}

// Writes into every key frame the box of the object it poses, as the level
// tools do, so that the check's box rule judges real work and finds nothing.
void storeTrueBoxes(WadDocument& d, std::vector<std::int16_t>& frames) {
  for (std::size_t m = 0; m < d.Moveables.size(); ++m) {
    const auto drawn = DrawObject(d, m);
    if (!std::holds_alternative<DrawnObject>(drawn)) continue;
    const DrawnObject& object = std::get<DrawnObject>(drawn);
    FigureBox figure = DrawnFigure(object);
    for (const AnimationNode& node : object.graph.animations) {
      for (int k = 0; k < node.keyFrameCount; ++k) {
        const auto boxes = figure.keyFrameBoxes(d, node.index, k);
        if (!std::holds_alternative<FrameBoxes>(boxes)) continue;
        const Box3& box = std::get<FrameBoxes>(boxes).posed;
        const double sides[6] = {box.min.x, box.max.x, box.min.y, box.max.y, box.min.z, box.max.z};
        const std::size_t at = static_cast<std::size_t>(node.record.FrameOffset / 2) +
                               static_cast<std::size_t>(k) * node.record.FrameSize;
        for (std::size_t i = 0; i < 6; ++i) frames[at + i] = i16(std::lround(std::clamp(sides[i], -32768.0, 32767.0)));
      }
    }
  }
  d.Frames = arrayOf(frames);
}

// A closed ring of `sides` quads with one normal per vertex, a few
// hundred bytes to a few kilobytes like the meshes of real objects.
MeshRecord Ring(int sides, int radius, int height) {
  MeshRecord m;
  m.CollisionSize = radius;
  for (int level = 0; level < 2; ++level) {
    for (int i = 0; i < sides; ++i) {
      const double a = 2 * 3.141592653589793 * i / sides;
      m.Vertices.push_back({i16(std::lround(radius * std::cos(a))), i16(-height * level), i16(std::lround(radius * std::sin(a)))});
      m.Normals.push_back({i16(std::lround(16384 * std::cos(a))), 0, i16(std::lround(16384 * std::sin(a)))});
    }
  }
  for (int i = 0; i < sides; ++i) {
    const int j = (i + 1) % sides;
    m.Faces.push_back({MeshFace::kQuad, {i16(i), i16(j), i16(sides + j), i16(sides + i)}, i16(i % 64), 0});
  }
  m.NumVertices = i16(static_cast<long>(m.Vertices.size()));
  m.NumNormals = i16(static_cast<long>(m.Normals.size()));
  m.NumFaces = i16(static_cast<long>(m.Faces.size()));
  return m;
}

// LARA's tree: two legs and two arms on a body, and a head.
const std::int32_t kTreeFlags[14] = {2, 0, 0, 3, 0, 0, 1, 2, 0, 0, 3, 0, 0, 1};

}  // namespace

WadDocument Generated(const Shape& shape) {
  std::mt19937 random(20261206);
  const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };

  Bytes meshData;
  std::vector<std::int32_t> pointers;
  std::vector<std::int32_t> trees;
  std::vector<MoveableRecord> moveables;
  std::vector<AnimationRecord> animations;
  std::vector<StateChangeRecord> stateChanges;
  std::vector<AnimDispatchRecord> dispatches;
  std::vector<std::int16_t> commands;
  std::vector<std::int16_t> frames;

  for (int o = 0; o < shape.objects; ++o) {
    MoveableRecord m;
    m.ObjectID = o % 500;
    m.NumMeshes = kMeshes;
    m.StartingMesh = i16(static_cast<long>(pointers.size() % 32768));
    std::vector<std::int32_t> own;
    for (int j = 0; j < shape.meshesPerObject; ++j) {
      own.push_back(static_cast<std::int32_t>(meshData.size()));
      const Bytes bytes = EncodeMesh(Ring(shape.ringSides + j % 5, pick(20, 200), pick(50, 300)));
      meshData.insert(meshData.end(), bytes.begin(), bytes.end());
    }
    // Mesh positions are 16 bits: past 32767 objects share the first ones.
    if (pointers.size() + kMeshes <= 32767) {
      for (int j = 0; j < kMeshes; ++j) pointers.push_back(own[static_cast<std::size_t>(j % shape.meshesPerObject)]);
    } else {
      m.StartingMesh = 0;
    }
    m.MeshTree = static_cast<std::int32_t>(trees.size());
    for (std::int32_t flags : kTreeFlags) trees.insert(trees.end(), {flags, pick(-120, 120), pick(-200, 200), pick(-20, 20)});

    const auto first = static_cast<int>(animations.size());
    m.Unknown3 = WriteAnimationRef({static_cast<std::int32_t>(2 * frames.size()), i16(first)});
    int frameNumber = 0;
    for (int a = 0; a < shape.animationsPerObject; ++a) {
      AnimationRecord rec;
      rec.FrameOffset = static_cast<std::int32_t>(2 * frames.size());
      rec.FrameRate = static_cast<std::uint8_t>(pick(1, 2));
      rec.FrameStart = i16(frameNumber);
      rec.FrameEnd = i16(frameNumber + pick(20, 80));
      const int keys = (rec.FrameEnd - rec.FrameStart + rec.FrameRate - 1) / rec.FrameRate + 1;
      // Eleven meshes turn about three axes, four about one: 35 words.
      rec.FrameSize = 9 + 11 * 2 + 4;
      for (int k = 0; k < keys; ++k) {
        for (int w = 0; w < 6; ++w) frames.push_back(i16(pick(-800, 800)));
        for (int w = 0; w < 3; ++w) frames.push_back(i16(pick(-400, 400)));
        for (int j = 0; j < kMeshes; ++j) {
          if (j % 4 == 3 || j == 14) {
            frames.push_back(i16(((j % 3 + 1) << 14) | pick(0, 4095)));
          } else {
            frames.push_back(i16(pick(0, 0x3FFF)));
            frames.push_back(i16(pick(0, 0xFFFF)));
          }
        }
      }
      const int next = first + (a + 1) % shape.animationsPerObject;
      rec.NextAnimation = i16(next);
      rec.NextFrame = 0;  // fixed below, once the next animation's frames are known
      rec.NumStateChanges = 1;
      rec.StateChange = i16(static_cast<long>(stateChanges.size() % 32768));
      stateChanges.push_back({i16(a % 20), 1, i16(static_cast<long>(dispatches.size() % 32768))});
      dispatches.push_back({rec.FrameStart, rec.FrameEnd, i16(first), 0});
      rec.AnimCommandCount = 1;
      rec.AnimCommands = i16(static_cast<long>(commands.size() % 32768));
      commands.insert(commands.end(), {5, rec.FrameStart, i16(0x4000 | a % 400)});
      animations.push_back(rec);
      frameNumber = rec.FrameEnd + 1;
    }
    for (int a = first; a < static_cast<int>(animations.size()); ++a) {
      const int next = animations[static_cast<std::size_t>(a)].NextAnimation;
      animations[static_cast<std::size_t>(a)].NextFrame = animations[static_cast<std::size_t>(next)].FrameStart;
    }
    moveables.push_back(m);
  }
  if (meshData.size() % 2 != 0) meshData.push_back(0);

  WadDocument d;
  d.Version = 129;
  std::vector<TextInfoRecord> infos(2000);
  for (std::size_t i = 0; i < infos.size(); ++i) {
    infos[i].Bytes = {static_cast<std::uint8_t>(i % 200), 0, static_cast<std::uint8_t>(i % shape.texturePages), 0, 0, 31, 0, 31};
  }
  d.NumTextInfo = static_cast<std::int32_t>(infos.size());
  d.TextInfo = arrayOf(infos);
  d.NumTextData = 768 * 256 * shape.texturePages;
  d.TextData = RecordArray<TextureRow>(256 * static_cast<std::size_t>(shape.texturePages),
                                       Bytes(768 * 256 * static_cast<std::size_t>(shape.texturePages), 0x5A));
  d.NumMeshPointers = static_cast<std::int32_t>(pointers.size());
  d.MeshPointers = arrayOf(pointers);
  d.NumMeshData = static_cast<std::int32_t>(meshData.size() / 2);
  d.MeshData = std::move(meshData);
  d.NumAnimations = static_cast<std::int32_t>(animations.size());
  d.Animations = arrayOf(animations);
  d.NumStateChanges = static_cast<std::int32_t>(stateChanges.size());
  d.StateChanges = arrayOf(stateChanges);
  d.NumAnimDispatches = static_cast<std::int32_t>(dispatches.size());
  d.AnimDispatches = arrayOf(dispatches);
  d.NumAnimCommands = static_cast<std::int32_t>(commands.size());
  d.AnimCommands = arrayOf(commands);
  d.NumMeshTrees = static_cast<std::int32_t>(trees.size());
  d.MeshTrees = arrayOf(trees);
  d.NumFrames = static_cast<std::int32_t>(frames.size());
  d.Frames = arrayOf(frames);
  d.NumMoveables = static_cast<std::int32_t>(moveables.size());
  d.Moveables = arrayOf(moveables);
  storeTrueBoxes(d, frames);
  return d;
}

GeneratedFile::GeneratedFile() {
  std::random_device random;
  folder_ = std::filesystem::temp_directory_path() / ("tarnlow-anim-bench-" + std::to_string(random()));
  std::filesystem::create_directories(folder_);
  path_ = folder_ / "objects.wad";
  WriteWAD(path_, Generated({1000, 10, 170, 9, 16}));
  size_ = std::filesystem::file_size(path_);
  std::int64_t length = 0;
  document_ = ReadWAD(path_, length);  // also warms the page cache
}

GeneratedFile::~GeneratedFile() {
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

const GeneratedFile& GeneratedFile::instance() {
  static const GeneratedFile file;
  return file;
}

}  // namespace tarnlow::bench
