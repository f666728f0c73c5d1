#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "anim/animation_graph.h"
#include "anim/drawn_object.h"
#include "anim/frame_box.h"
#include "check/rules.h"
#include "mesh/mesh_decoder.h"

namespace tarnlow {

namespace {

// A few units off is normal for a custom outfit on the original
// animations; more means the figure is not what the game collides with.
constexpr double kBoxTolerance = 64;

std::string str(std::int64_t v) { return std::to_string(v); }

// Decoded mesh vertices by MeshPointers position: objects share meshes.
using VertexCache = std::unordered_map<std::int64_t, std::optional<std::vector<Vec3>>>;

// The vertices of each drawn mesh, or nothing when one cannot be decoded:
// a figure with meshes missing is not the one its boxes were made for.
std::optional<std::vector<std::vector<Vec3>>> drawnVertices(const WadDocument& doc, const Skeleton& skeleton,
                                                            VertexCache& cache) {
  std::vector<std::vector<Vec3>> vertices;
  for (const Bone& bone : skeleton.bones) {
    auto [at, fresh] = cache.try_emplace(bone.meshPointer);
    if (fresh) {
      const MeshResult<MeshRecord> mesh = ReadMesh(doc, bone.meshPointer);
      if (const auto* decoded = std::get_if<MeshRecord>(&mesh)) at->second = MeshPoints(*decoded);
    }
    if (!at->second) return std::nullopt;
    vertices.push_back(*at->second);
  }
  return vertices;
}

void checkBoxes(CheckContext& context, const DrawnObject& object, const std::vector<std::vector<Vec3>>& vertices) {
  const WadDocument& doc = context.doc();
  const AnimationRange range = ObjectAnimationRange(doc, object.moveable);
  const int meshes = static_cast<int>(object.skeleton.bones.size());
  for (std::int64_t a = range.first; a < range.end; ++a) {
    const AnimationRecord record = doc.Animations[static_cast<std::size_t>(a)];
    const std::variant<int, Finding> keys = KeyFrameCount(record, a);
    if (!std::holds_alternative<int>(keys)) continue;
    // The first, middle and last key frame stand for the animation: judging
    // every key frame would make the check of a big WAD many times slower,
    // and a figure that misses its box misses it throughout.
    const int last = std::get<int>(keys) - 1;
    const std::array<int, 3> judged = {0, last / 2, last};
    int off = 0, worstKey = 0, counted = 0;
    double worst = 0;
    for (std::size_t i = 0; i < judged.size(); ++i) {
      const int k = judged[i];
      if (i > 0 && k == judged[i - 1]) continue;
      const std::variant<KeyFrameRead, Finding> read = DecodeKeyFrame(doc, a, k, meshes);
      const auto* frame = std::get_if<KeyFrameRead>(&read);
      // A frame that cannot be read right has its own finding.
      if (frame == nullptr || frame->overrun) {
        off = 0;
        break;
      }
      ++counted;
      const std::optional<double> difference =
          BoxDifference(frame->frame.box, PosedBox(object.skeleton, vertices, frame->frame));
      if (!difference || *difference <= kBoxTolerance) continue;
      if (off++ == 0 || *difference > worst) {
        worst = *difference;
        worstKey = k;
      }
    }
    if (off == 0) continue;
    context
        .add(Severity::Warning, "key-frame-box", "Animations", a,
             "key frame " + str(worstKey) + " lies " + str(static_cast<std::int64_t>(worst + 0.5)) +
                 " units from its stored box, more than " + str(static_cast<std::int64_t>(kBoxTolerance)) + " (" +
                 str(off) + " of the " + str(counted) + " key frames judged: first, middle, last)",
             {}, object.moveable)
        .frame = FrameNumber(record.FrameStart) + std::int64_t{worstKey} * record.FrameRate;
  }
}

}  // namespace

void CheckDrawnObjects(CheckContext& context) {
  VertexCache cache;
  for (std::size_t m = 0; m < context.doc().Moveables.size(); ++m) {
    const std::variant<DrawnObject, Finding> drawn = DrawObject(context.doc(), m, DrawDepth::Skeleton);
    const auto* object = std::get_if<DrawnObject>(&drawn);
    // The moveable rule tells why an object cannot be drawn at all.
    if (object == nullptr) continue;
    bool placeholders = false;
    for (const Finding& finding : object->findings) {
      if (finding.rule != kLaraSkinMissingRule) continue;
      context.pass(finding, {}, m);
      placeholders = true;
    }
    // Placeholders never fit boxes made for the real meshes (the note says
    // why), nor does a figure whose mesh tree has errors.
    bool whole = !placeholders;
    for (const Finding& finding : object->skeleton.problems) whole = whole && finding.severity != Severity::Error;
    if (!whole) continue;
    if (const auto vertices = drawnVertices(context.doc(), object->skeleton, cache)) checkBoxes(context, *object, *vertices);
  }
}

}  // namespace tarnlow
