#include "data/sample_content.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "anim/animation_graph.h"
#include "anim/drawn_object.h"
#include "anim/frame_box.h"
#include "anim/key_frame.h"
#include "data/sample_motion.h"
#include "mesh/mesh_encoder.h"
#include "wad/mesh_record.h"
#include "wad/byte_writer.h"

namespace tarnlow::sample {

namespace {

using std::int16_t;
using std::int32_t;

int16_t i16(int v) { return static_cast<int16_t>(v); }

// Object ids as they stand in the object-name file.
constexpr int32_t kLara = 0;
constexpr int32_t kLaraSkin = 8;
constexpr int32_t kBaddy1 = 41;
constexpr int32_t kBat = 90;
constexpr int32_t kKeyItem1 = 203;
constexpr int32_t kSmallMedipack = 369;
constexpr int32_t kAnimating1 = 427;

MeshFace triangle(int a, int b, int c, int texture) {
  return MeshFace{MeshFace::kTriangle, {i16(a), i16(b), i16(c)}, i16(texture), 0};
}
MeshFace quad(int a, int b, int c, int d, int texture) {
  return MeshFace{MeshFace::kQuad, {i16(a), i16(b), i16(c), i16(d)}, i16(texture), 0};
}

MeshRecord meshOf(std::vector<MeshVector> vertices, std::vector<MeshFace> faces, int collisionSize) {
  MeshRecord m;
  m.CollisionSize = collisionSize;
  m.NumVertices = i16(static_cast<int>(vertices.size()));
  m.Vertices = std::move(vertices);
  m.NumFaces = i16(static_cast<int>(faces.size()));
  m.Faces = std::move(faces);
  return m;
}

void withNormals(MeshRecord& m, std::vector<MeshVector> normals) {
  m.NumNormals = i16(static_cast<int>(normals.size()));
  m.Normals = std::move(normals);
}

void withShades(MeshRecord& m, std::vector<int16_t> shades) {
  m.NumNormals = i16(-static_cast<int>(shades.size()));
  m.Shades = std::move(shades);
}

// The eight corners of a box, bottom face first.
std::vector<MeshVector> boxCorners(int halfX, int height, int halfZ) {
  return {{i16(-halfX), 0, i16(-halfZ)},         {i16(halfX), 0, i16(-halfZ)},
          {i16(halfX), 0, i16(halfZ)},           {i16(-halfX), 0, i16(halfZ)},
          {i16(-halfX), i16(-height), i16(-halfZ)}, {i16(halfX), i16(-height), i16(-halfZ)},
          {i16(halfX), i16(-height), i16(halfZ)},   {i16(-halfX), i16(-height), i16(halfZ)}};
}

// A cube of quads with one normal per corner.
MeshRecord cube(int16_t half) {
  MeshRecord m = meshOf(boxCorners(half, 2 * half, half),
                        {quad(0, 1, 2, 3, 0), quad(4, 7, 6, 5, 1), quad(0, 4, 5, 1, 2), quad(1, 5, 6, 2, 3),
                         quad(2, 6, 7, 3, 4), quad(3, 7, 4, 0, 5)},
                        static_cast<int>(half) * 7 / 4);
  m.CentreY = i16(-half);
  const int16_t n = 9459;  // 16384 / sqrt(3): unit length in the file's fixed point
  withNormals(m, {{i16(-n), n, i16(-n)}, {n, n, i16(-n)}, {n, n, n}, {i16(-n), n, n},
                  {i16(-n), i16(-n), i16(-n)}, {n, i16(-n), i16(-n)}, {n, i16(-n), n}, {i16(-n), i16(-n), n}});
  return m;
}

// A slab from (x0, y0, z0) to (x1, y1, z1) of six quads, lit by one
// normal per corner or by shades.
MeshRecord slab(int x0, int x1, int y0, int y1, int z0, int z1, bool normals) {
  std::vector<MeshVector> corners;
  // The lower ring (larger Y: Y points down) first, as in boxCorners, so
  // that the quads face outwards.
  for (int y : {y1, y0}) {
    for (const auto& [x, z] : {std::pair{x0, z0}, std::pair{x1, z0}, std::pair{x1, z1}, std::pair{x0, z1}}) {
      corners.push_back({i16(x), i16(y), i16(z)});
    }
  }
  MeshRecord m = meshOf(corners,
                        {quad(0, 1, 2, 3, 0), quad(4, 7, 6, 5, 1), quad(0, 4, 5, 1, 2), quad(1, 5, 6, 2, 3),
                         quad(2, 6, 7, 3, 4), quad(3, 7, 4, 0, 5)},
                        std::max({x1 - x0, y1 - y0, z1 - z0}) * 7 / 8);
  m.CentreX = i16((x0 + x1) / 2);
  m.CentreY = i16((y0 + y1) / 2);
  m.CentreZ = i16((z0 + z1) / 2);
  if (normals) {
    const int16_t n = 9459;  // 16384 / sqrt(3)
    std::vector<MeshVector> out;
    for (const MeshVector& c : corners) {
      out.push_back({i16(c.X > m.CentreX ? n : -n), i16(c.Y > m.CentreY ? n : -n), i16(c.Z > m.CentreZ ? n : -n)});
    }
    withNormals(m, std::move(out));
  } else {
    withShades(m, {4096, 5120, 6144, 7168, 8192, 7168, 6144, 5120});
  }
  return m;
}

// A long box of triangles lit by shades, hanging down from its top: legs.
MeshRecord limb() {
  MeshRecord m = slab(-40, 40, 0, 300, -40, 40, false);
  std::vector<MeshFace> triangles;
  for (const MeshFace& q : m.Faces) {
    triangles.push_back(triangle(q.Vertices[0], q.Vertices[1], q.Vertices[2], q.Texture));
    triangles.push_back(triangle(q.Vertices[0], q.Vertices[2], q.Vertices[3], q.Texture));
  }
  m.NumFaces = i16(static_cast<int>(triangles.size()));
  m.Faces = std::move(triangles);
  return m;
}

// A pyramid: four triangles on a quad, lit by shades.
MeshRecord pyramid() {
  MeshRecord m = meshOf({{0, -200, 0}, {-100, 0, -100}, {100, 0, -100}, {100, 0, 100}, {-100, 0, 100}},
                        {triangle(0, 2, 1, 1), triangle(0, 3, 2, 2), triangle(0, 4, 3, 3), triangle(0, 1, 4, 4),
                         quad(1, 2, 3, 4, 5)},
                        150);
  m.CentreY = -100;
  withShades(m, {8000, 4000, 4000, 6000, 6000});
  return m;
}

// A flat disc of eight triangles around its centre, every normal up: heads
// and pickups.
MeshRecord disc() {
  const std::vector<MeshVector> rim = {{120, 0, 0}, {85, 0, 85}, {0, 0, 120}, {-85, 0, 85},
                                       {-120, 0, 0}, {-85, 0, -85}, {0, 0, -120}, {85, 0, -85}};
  std::vector<MeshVector> vertices = {{0, -20, 0}};
  vertices.insert(vertices.end(), rim.begin(), rim.end());
  std::vector<MeshFace> faces;
  for (int i = 0; i < 8; ++i) faces.push_back(triangle(0, 1 + i, 1 + (i + 1) % 8, i % 6));
  MeshRecord m = meshOf(std::move(vertices), std::move(faces), 121);
  withNormals(m, std::vector<MeshVector>(9, MeshVector{0, -16384, 0}));
  return m;
}

// The placeholder that level tools put where an object shows no mesh.
MeshRecord nullShape() {
  MeshRecord m = meshOf({{-5, 12, 177}, {116, 120, -177}, {-116, 120, -177}, {-116, -120, -177}, {116, -120, -177}},
                        {}, 0);
  withNormals(m, {{0, 0, 16384}});
  return m;
}

struct MeshBlock {
  Bytes data;
  int32_t cube = 0, limb = 0, pyramid = 0, disc = 0, null = 0;
  // LARA's own parts.
  int32_t hips = 0, thigh = 0, shin = 0, foot = 0, torso = 0, upperArm = 0, forearm = 0, hand = 0, head = 0;
};

MeshBlock meshBlock() {
  MeshBlock block;
  const auto append = [&block](const MeshRecord& m) {
    const auto at = static_cast<int32_t>(block.data.size());
    const Bytes bytes = EncodeMesh(m);
    block.data.insert(block.data.end(), bytes.begin(), bytes.end());
    return at;
  };
  // A pointer of 0 marks a dummy mesh, yet offset 0 must hold a real mesh
  // for the readers that follow such pointers: a small cube used by no other.
  append(cube(32));
  block.cube = append(cube(128));
  block.limb = append(limb());
  block.pyramid = append(pyramid());
  block.disc = append(disc());
  block.null = append(nullShape());
  block.hips = append(slab(-80, 80, -40, 40, -50, 50, true));
  block.thigh = append(slab(-30, 30, 0, 180, -30, 30, false));
  block.shin = append(slab(-25, 25, 0, 170, -25, 25, false));
  block.foot = append(slab(-25, 25, 0, 25, -25, 85, true));
  block.torso = append(slab(-90, 90, -220, 0, -50, 50, true));
  block.upperArm = append(slab(-22, 22, 0, 150, -22, 22, false));
  block.forearm = append(slab(-20, 20, 0, 140, -20, 20, false));
  block.hand = append(slab(-18, 18, 0, 60, -10, 10, false));
  block.head = append(cube(64));
  return block;
}

struct ObjectPlan {
  int32_t objectId;
  std::vector<int32_t> meshes;  // mesh data offsets; 0 is a dummy mesh
  std::vector<TreeEntry> tree;
  std::vector<AnimationPlan> animations;
};

// Writes the box of every key frame: the extent of the object's vertices
// posed in that frame, as the level editor stores it (LARA's in her skin).
void measureBoxes(WadDocument& doc, std::vector<std::int16_t>& frames) {
  for (std::size_t m = 0; m < doc.Moveables.size(); ++m) {
    const auto drawn = DrawObject(doc, m);
    if (!std::holds_alternative<DrawnObject>(drawn)) continue;
    const DrawnObject& object = std::get<DrawnObject>(drawn);
    FigureBox figure = DrawnFigure(object);
    const AnimationRange range = ObjectAnimationRange(doc, m);
    for (std::int64_t a = range.first; a < range.end; ++a) {
      const AnimationRecord record = doc.Animations[static_cast<std::size_t>(a)];
      const int keys = std::get<int>(KeyFrameCount(record, a));
      for (int k = 0; k < keys; ++k) {
        const Box3 box = std::get<FrameBoxes>(figure.keyFrameBoxes(doc, a, k)).posed;
        const std::array<double, 6> sides = {box.min.x, box.max.x, box.min.y, box.max.y, box.min.z, box.max.z};
        const std::size_t at = static_cast<std::size_t>(record.FrameOffset / 2) + static_cast<std::size_t>(k) * record.FrameSize;
        for (std::size_t i = 0; i < sides.size(); ++i) frames[at + i] = i16(static_cast<int>(std::lround(sides[i])));
      }
    }
  }
  doc.Frames = RecordArray<std::int16_t>::fromRecords(std::span<const std::int16_t>(frames));
}

// 256 x 256 pixels of 3 bytes (red, green, blue): a checkerboard of 32-pixel
// squares, the light ones a colour gradient, with the magenta (255, 0, 255)
// transparency key filling the bottom-right square.
Bytes texturePage() {
  Bytes out;
  out.reserve(256 * 256 * 3);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      std::uint8_t r = 48, g = 48, b = 48;
      if (x >= 224 && y >= 224) {
        r = 255, g = 0, b = 255;
      } else if (((x / 32) + (y / 32)) % 2 == 0) {
        r = static_cast<std::uint8_t>(x);
        g = static_cast<std::uint8_t>(y);
        b = static_cast<std::uint8_t>(255 - x);
      }
      out.push_back(r);
      out.push_back(g);
      out.push_back(b);
    }
  }
  return out;
}

// One texture square of the checkerboard's top row per record: x, y, page,
// flip X, width, flip Y, height.
std::vector<TextInfoRecord> textInfo() {
  std::vector<TextInfoRecord> out;
  for (int i = 0; i < 6; ++i) {
    TextInfoRecord r;
    r.Bytes = {static_cast<std::uint8_t>(64 * (i % 4)), static_cast<std::uint8_t>(64 * (i / 4)), 0, 0, 0, 31, 0, 31};
    out.push_back(r);
  }
  return out;
}

StaticMeshRecord staticMesh(int16_t objectId, int16_t mesh, int16_t half, int16_t height) {
  Bytes bytes;
  ByteWriter w(bytes);
  w.i32(objectId);
  w.i16(mesh);
  for (int box = 0; box < 2; ++box) {  // visibility box, then collision box
    w.i16(i16(-half));
    w.i16(half);
    w.i16(i16(-height));
    w.i16(0);
    w.i16(i16(-half));
    w.i16(half);
  }
  w.u16(2);  // flags
  StaticMeshRecord r;
  std::copy(bytes.begin(), bytes.end(), r.Bytes.begin());
  return r;
}

// Stores `records` and their count, which the file keeps side by side.
template <typename T>
void setArray(int32_t& count, RecordArray<T>& array, const std::vector<T>& records) {
  count = static_cast<int32_t>(records.size());
  array = RecordArray<T>::fromRecords(std::span<const T>(records));
}

}  // namespace

WadDocument SampleWad() {
  const MeshBlock meshes = meshBlock();
  const int32_t c = meshes.cube, l = meshes.limb, p = meshes.pyramid, d = meshes.disc, n = meshes.null;
  const MeshBlock& b = meshes;
  const std::vector<ObjectPlan> objects = {
      // As in real WADs, LARA's meshes are placeholders (pointer 0) and her
      // look is LARA_SKIN's, which has her mesh tree and no animations.
      {kLara, std::vector<int32_t>(15, 0), LaraTree(), LaraAnimations()},
      {kLaraSkin,
       {b.hips, b.thigh, b.shin, b.foot, b.thigh, b.shin, b.foot, b.torso, b.upperArm, b.forearm, b.hand, b.upperArm,
        b.forearm, b.hand, b.head},
       LaraTree(),
       {}},
      {kBaddy1, {c, l, l, n, 0}, BaddyTree(), BaddyAnimations()},
      {kBat, {p, d, d}, BatTree(), BatAnimations()},
      {kSmallMedipack, {c}, {}, {}},
      {kKeyItem1, {c}, {}, {}},
      {kAnimating1, {n, d}, SpinnerTree(), SpinnerAnimations()},
  };

  std::vector<int32_t> pointers;
  std::vector<MoveableRecord> moveables;
  MotionWriter motion;
  for (const ObjectPlan& o : objects) {
    MoveableRecord m;
    m.ObjectID = o.objectId;
    m.NumMeshes = i16(static_cast<int>(o.meshes.size()));
    m.StartingMesh = i16(static_cast<int>(pointers.size()));
    const MotionWriter::Placed placed =
        motion.addObject(static_cast<int>(o.meshes.size()), o.tree, o.animations);
    m.MeshTree = placed.meshTree;
    m.Unknown3 = placed.unknown3;
    moveables.push_back(m);
    pointers.insert(pointers.end(), o.meshes.begin(), o.meshes.end());
  }
  // The two static meshes use the cube and the disc.
  const auto staticCube = i16(static_cast<int>(pointers.size()));
  pointers.push_back(c);
  const auto staticDisc = i16(static_cast<int>(pointers.size()));
  pointers.push_back(d);

  WadDocument doc;
  doc.Version = 129;
  const std::vector<TextInfoRecord> infos = textInfo();
  setArray(doc.NumTextInfo, doc.TextInfo, infos);
  doc.NumTextData = 256 * 768;
  doc.TextData = RecordArray<TextureRow>(256, texturePage());
  setArray(doc.NumMeshPointers, doc.MeshPointers, pointers);
  doc.NumMeshData = static_cast<int32_t>(meshes.data.size() / 2);
  doc.MeshData = meshes.data;
  setArray(doc.NumAnimations, doc.Animations, motion.animations);
  setArray(doc.NumStateChanges, doc.StateChanges, motion.stateChanges);
  setArray(doc.NumAnimDispatches, doc.AnimDispatches, motion.dispatches);
  setArray(doc.NumAnimCommands, doc.AnimCommands, motion.commands);
  setArray(doc.NumMeshTrees, doc.MeshTrees, motion.meshTrees);
  setArray(doc.NumFrames, doc.Frames, motion.frames);
  setArray(doc.NumMoveables, doc.Moveables, moveables);
  measureBoxes(doc, motion.frames);
  const std::vector<StaticMeshRecord> statics = {staticMesh(0, staticCube, 128, 256),
                                                 staticMesh(10, staticDisc, 120, 20)};
  setArray(doc.NumStaticMeshes, doc.StaticMeshes, statics);
  return doc;
}

Bytes SampleSwdBytes() {
  Bytes out;
  ByteWriter w(out);
  w.i32(0);  // SwdUnknown
  constexpr int kEntries = 4;
  w.i32(kEntries);
  // Entry i: where sprite i stands on the page (x, y, width, height) and its
  // corner offsets, as 16-bit values.
  for (int i = 0; i < kEntries; ++i) {
    const int x = 64 * i;
    for (int v : {x, 0, 64, 64, -32, -64, 32, 0}) w.i16(i16(v));
  }
  constexpr int kRows = 64;
  w.i32(kRows * 768);
  // Each sprite a square of its own colour on the magenta key.
  for (int y = 0; y < kRows; ++y) {
    for (int x = 0; x < 256; ++x) {
      const bool inside = x % 64 >= 8 && x % 64 < 56 && y >= 8 && y < 56;
      const int sprite = x / 64;
      w.u8(inside ? static_cast<std::uint8_t>(60 * sprite + 60) : 255);
      w.u8(inside ? static_cast<std::uint8_t>(200 - 40 * sprite) : 0);
      w.u8(inside ? static_cast<std::uint8_t>(40 * sprite) : 255);
    }
  }
  w.i32(kEntries);
  // Record i: which entries a sprite sequence uses (first, count) and its id.
  for (int i = 0; i < kEntries; ++i) {
    w.i32(i);
    w.i16(1);
    w.i16(i16(-1 - i));
  }
  return out;
}

}  // namespace tarnlow::sample
