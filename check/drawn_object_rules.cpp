#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "anim/animation_graph.h"
#include "anim/drawn_object.h"
#include "anim/frame_box.h"
#include "anim/key_frame_budget.h"
#include "check/check_wad.h"
#include "check/rules.h"
#include "mesh/mesh_decoder.h"
#include "parallel/parallel_for.h"

namespace tarnlow {

namespace {

std::string str(std::int64_t v) { return std::to_string(v); }

// LARA_SKIN to LARA_DIRT_MESH: objects the game never places in a level. It
// only takes their meshes into Lara's (or an actor's) mesh set, so their
// key frames' boxes are never used, and the holsters' and laser sights'
// boxes of an original level's WAD were not made for the meshes they hold.
bool isMeshSource(std::int32_t objectId) { return objectId >= kLaraSkinId && objectId <= 27; }

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

// How one animation's key frames meet their stored boxes.
struct BoxVerdict {
  std::int64_t animation = 0;
  int off = 0;       // key frames further from their box than the tolerance
  int judged = 0;    // key frames judged
  int worstKey = 0;  // the furthest of them, and how far
  double worst = 0;
};

// An object whose key frames are to be judged.
struct BoxJob {
  DrawnObject object;
  std::vector<std::vector<Vec3>> vertices;
  std::vector<std::pair<std::int64_t, int>> judge;        // animations to judge, with their key frame counts
  std::vector<std::pair<std::int64_t, std::int64_t>> same;  // animations judged as an earlier one of the same block
  std::vector<BoxVerdict> verdicts;                       // the animations with key frames off
};

// Which of each job's animations are judged, which share an earlier one's
// judgement, and which are left (into `budget`). Runs in WAD order before
// the jobs run side by side, so that the choice is the same on every run.
void planBoxes(const WadDocument& doc, std::vector<BoxJob>& jobs, KeyFrameBudget& budget) {
  for (BoxJob& job : jobs) {
    const AnimationRange range = ObjectAnimationRange(doc, job.object.moveable);
    for (std::int64_t a = range.first; a < range.end; ++a) {
      const AnimationRecord record = doc.Animations[static_cast<std::size_t>(a)];
      const std::variant<int, Finding> keys = KeyFrameCount(record, a);
      if (!std::holds_alternative<int>(keys)) continue;
      const auto figure = static_cast<std::int64_t>(job.object.moveable);
      const KeyFrameBudget::Turn turn = budget.take(a, KeyFrameBlockOf(record, std::get<int>(keys), figure));
      if (turn.kind == KeyFrameBudget::Turn::Judge) job.judge.emplace_back(a, std::get<int>(keys));
      if (turn.kind == KeyFrameBudget::Turn::Same) job.same.emplace_back(a, turn.same);
    }
  }
}

// Judges the key frames of the job's animations to judge. Touches nothing
// but the job, so that jobs run side by side.
void judgeBoxes(const WadDocument& doc, BoxJob& job) {
  const int meshes = static_cast<int>(job.object.skeleton.bones.size());
  FigureBox figure(job.object.skeleton, job.vertices);
  for (const auto& [a, keyFrames] : job.judge) {
    BoxVerdict verdict{a};
    for (int k = 0; k < keyFrames; ++k) {
      const std::variant<KeyFrameRead, Finding> read = DecodeKeyFrame(doc, a, k, meshes);
      const auto* frame = std::get_if<KeyFrameRead>(&read);
      // A frame that cannot be read right has its own finding.
      if (frame == nullptr || frame->overrun) {
        verdict.off = 0;
        break;
      }
      ++verdict.judged;
      const std::optional<double> difference = BoxDifference(frame->frame.box, figure.of(frame->frame));
      if (!difference || *difference <= kBoxTolerance) continue;
      if (verdict.off++ == 0 || *difference > verdict.worst) {
        verdict.worst = *difference;
        verdict.worstKey = k;
      }
    }
    if (verdict.off > 0) job.verdicts.push_back(verdict);
  }
}

// Gives each animation that shares a judged one's block that one's verdict.
void shareVerdicts(BoxJob& job) {
  std::map<std::int64_t, BoxVerdict> judged;
  for (const BoxVerdict& v : job.verdicts) judged.emplace(v.animation, v);
  for (const auto& [a, same] : job.same) {
    const auto found = judged.find(same);
    if (found == judged.end()) continue;
    BoxVerdict copy = found->second;
    copy.animation = a;
    job.verdicts.push_back(copy);
  }
  std::sort(job.verdicts.begin(), job.verdicts.end(),
            [](const BoxVerdict& x, const BoxVerdict& y) { return x.animation < y.animation; });
}

void reportBoxes(CheckContext& context, const BoxJob& job) {
  for (const BoxVerdict& v : job.verdicts) {
    const AnimationRecord record = context.doc().Animations[static_cast<std::size_t>(v.animation)];
    context
        .add(Severity::Warning, kKeyFrameBoxRule, "Animations", v.animation,
             "key frame " + str(v.worstKey) + " lies " + str(static_cast<std::int64_t>(v.worst + 0.5)) +
                 " units from its stored box, more than " + str(static_cast<std::int64_t>(kBoxTolerance)) + " (" +
                 str(v.off) + " of its " + str(v.judged) + " key frames)",
             {}, job.object.moveable)
        .frame = FrameNumber(record.FrameStart) + std::int64_t{v.worstKey} * record.FrameRate;
  }
}

}  // namespace

void CheckDrawnObjects(CheckContext& context) {
  VertexCache cache;
  std::vector<BoxJob> jobs;
  for (std::size_t m = 0; m < context.doc().Moveables.size(); ++m) {
    if (context.standsForZeros(m)) continue;
    std::variant<DrawnObject, Finding> drawn = DrawObject(context.doc(), m, DrawDepth::Skeleton);
    auto* object = std::get_if<DrawnObject>(&drawn);
    // The moveable rule tells why an object cannot be drawn at all.
    if (object == nullptr) continue;
    bool placeholders = false;
    for (const Finding& finding : object->findings) {
      if (finding.rule != kPlaceholderFigureRule) continue;
      context.pass(finding, {}, m);
      placeholders = true;
    }
    // A figure whose boxes fit neither its own meshes nor LARA_SKIN's is
    // not what they were made for (the note says so), nor is one whose
    // mesh tree has errors; a mesh source's boxes mean nothing.
    bool whole = !placeholders && !isMeshSource(object->objectId) && context.judges(m);
    for (const Finding& finding : object->skeleton.problems) whole = whole && finding.severity != Severity::Error;
    if (!whole) continue;
    if (auto vertices = drawnVertices(context.doc(), object->skeleton, cache)) {
      jobs.push_back({std::move(*object), std::move(*vertices), {}});
    }
  }
  KeyFrameBudget budget(context.doc());
  planBoxes(context.doc(), jobs, budget);
  context.leaveUnjudged(budget.left());
  // Posing every key frame is most of the check's time: objects are judged
  // side by side, and reported in their order.
  ParallelFor(jobs.size(), 0, [&](std::size_t j) { judgeBoxes(context.doc(), jobs[j]); });
  for (BoxJob& job : jobs) {
    shareVerdicts(job);
    reportBoxes(context, job);
  }
}

}  // namespace tarnlow
