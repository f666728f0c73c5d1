#include "anim/drawn_object.h"

#include <algorithm>
#include <set>
#include <string>

#include "anim/animation_frames.h"
#include "anim/frame_box.h"
#include "mesh/mesh_decoder.h"

namespace tarnlow {

namespace {

Finding moveableNote(std::size_t moveable, std::string problem, std::string target = {}) {
  return Finding{Severity::Note, "Moveables", static_cast<std::int64_t>(moveable), std::move(problem),
                 std::move(target), moveable};
}

std::optional<std::size_t> findLaraSkin(const WadDocument& document) {
  for (std::size_t m = 0; m < document.Moveables.size(); ++m) {
    if (document.Moveables[m].ObjectID == kLaraSkinId) return m;
  }
  return std::nullopt;
}

// How a figure meets the boxes stored in its object's key frames: the first
// key frame of up to kFitSamples animations spread over the object's range.
// A sample keeps the choice cheap for any file; the check judges the rest.
constexpr std::int64_t kFitSamples = 16;

struct BoxFit {
  int judged = 0;  // sampled key frames with a stored box
  int near = 0;    // of them, those that lie within kBoxTolerance of it
  bool agrees() const { return judged > 0 && 2 * near >= judged; }
};

BoxFit boxFit(const WadDocument& document, const Skeleton& skeleton) {
  BoxFit fit;
  std::vector<std::vector<Vec3>> vertices;
  for (const Bone& bone : skeleton.bones) {
    const MeshResult<MeshRecord> mesh = ReadMesh(document, bone.meshPointer);
    const auto* decoded = std::get_if<MeshRecord>(&mesh);
    // A figure with a mesh missing is not the one any box was made for.
    if (decoded == nullptr) return fit;
    vertices.push_back(MeshPoints(*decoded));
  }
  FigureBox figure(skeleton, vertices);
  const AnimationRange range = ObjectAnimationRange(document, skeleton.moveable);
  const std::int64_t count = range.end - range.first;
  const std::int64_t step = std::max<std::int64_t>(1, (count + kFitSamples - 1) / kFitSamples);
  for (std::int64_t a = range.first; a < range.end; a += step) {
    const std::variant<KeyFrameRead, Finding> read =
        DecodeKeyFrame(document, a, 0, static_cast<int>(skeleton.bones.size()));
    const auto* frame = std::get_if<KeyFrameRead>(&read);
    if (frame == nullptr || frame->overrun) continue;
    const std::optional<double> difference = BoxDifference(frame->frame.box, figure.of(frame->frame));
    if (!difference) continue;
    ++fit.judged;
    fit.near += *difference <= kBoxTolerance ? 1 : 0;
  }
  return fit;
}

// The skeleton with each placeholder of `drawn` replaced by LARA_SKIN's mesh
// of the same number (unless that is a placeholder too); nothing when no
// mesh would change.
std::optional<Skeleton> dressed(const WadDocument& document, const DrawnObject& drawn, const MoveableRecord& skin) {
  Skeleton skeleton = drawn.skeleton;
  bool changed = false;
  for (std::size_t j = 0; j < skeleton.bones.size(); ++j) {
    Bone& bone = skeleton.bones[j];
    const std::int64_t lent = std::int64_t{skin.StartingMesh} + static_cast<std::int64_t>(j);
    if (!IsPlaceholderMesh(document, bone.meshPointer)) continue;
    if (lent < 0 || static_cast<std::uint64_t>(lent) >= document.MeshPointers.size()) continue;
    if (IsPlaceholderMesh(document, lent)) continue;
    bone.meshPointer = lent;
    changed = true;
  }
  return changed ? std::optional<Skeleton>(std::move(skeleton)) : std::nullopt;
}

// Decides how an object with placeholder meshes is drawn, by its stored
// boxes: as stored when they fit its own meshes (a placeholder may be a
// real mesh at offset 0); in LARA_SKIN's meshes when it has LARA_SKIN's
// mesh count and they fit that figure (for an object part placeholders,
// better than its own); otherwise as stored. An object of placeholders
// only that stays as stored gets a note under kPlaceholderFigureRule, and
// the check leaves its boxes alone.
void chooseFigure(const WadDocument& document, DrawnObject& drawn) {
  std::size_t placeholders = 0;
  for (const Bone& bone : drawn.skeleton.bones) placeholders += IsPlaceholderMesh(document, bone.meshPointer) ? 1 : 0;
  if (placeholders == 0) return;
  const std::size_t meshes = drawn.skeleton.bones.size();
  const bool every = placeholders == meshes;
  const BoxFit own = boxFit(document, drawn.skeleton);
  if (own.agrees()) return;
  const std::optional<std::size_t> skin = findLaraSkin(document);
  const std::optional<MoveableRecord> skinRecord =
      skin && *skin != drawn.moveable ? std::optional<MoveableRecord>(document.Moveables[*skin]) : std::nullopt;
  const bool sameCount =
      skinRecord && skinRecord->NumMeshes >= 0 && static_cast<std::size_t>(skinRecord->NumMeshes) == meshes;
  if (std::optional<Skeleton> worn = sameCount ? dressed(document, drawn, *skinRecord) : std::nullopt) {
    const BoxFit fit = boxFit(document, *worn);
    // With no stored box to judge by, an object of LARA_SKIN's mesh count
    // is dressed: an outfit pack's LARA has no animations, and nothing says
    // her placeholders are meant.
    const bool unjudged = own.judged == 0 && fit.judged == 0;
    if (unjudged || (every ? fit.agrees() : fit.near > own.near)) {
      for (std::size_t j = 0; j < meshes; ++j) {
        if (worn->bones[j].meshPointer != drawn.skeleton.bones[j].meshPointer) drawn.sources[j] = MeshSource::LaraSkin;
      }
      drawn.skeleton = std::move(*worn);
      drawn.skin = *skin;
      return;
    }
  }
  if (!every) return;
  // Without a LARA_SKIN nothing could be lent: worth saying, as that is
  // what a Lara-shaped object lacks.
  drawn.findings.push_back(moveableNote(drawn.moveable, "every mesh of object " + std::to_string(drawn.moveable) +
                                                            " is the mesh at offset 0: the game draws it from its own "
                                                            "code, or the slot is a stand-in" +
                                                            (skin ? "" : " (the WAD holds no LARA_SKIN to lend meshes)")));
  drawn.findings.back().rule = kPlaceholderFigureRule;
}

}  // namespace

bool IsPlaceholderMesh(const WadDocument& document, std::int64_t meshPointer) {
  if (meshPointer < 0 || static_cast<std::uint64_t>(meshPointer) >= document.MeshPointers.size()) return false;
  if (document.MeshPointers[static_cast<std::size_t>(meshPointer)] == 0) return true;
  // Most meshes are told apart by their first bytes, without a decode.
  if (!BeginsWithNullMeshShape(document, meshPointer)) return false;
  const MeshResult<bool> isNull = IsNullMesh(document, meshPointer);
  const bool* answer = std::get_if<bool>(&isNull);
  return answer != nullptr && *answer;
}

std::optional<Finding> AnimationProblem(const WadDocument& document, const Skeleton& skeleton,
                                        const AnimationNode& node, AnimationFrameJudge& judge) {
  const int meshes = static_cast<int>(skeleton.bones.size());
  std::vector<Finding> frames = judge.findings(node.index, skeleton.moveable, meshes);
  if (!frames.empty()) return std::move(frames.front());
  if (node.nextInObject) return std::nullopt;
  // Worded as the check words it, so that both say the same.
  const std::string next = std::to_string(node.nextAnimation);
  const std::size_t count = document.Animations.size();
  if (node.nextAnimation < 0 || static_cast<std::uint64_t>(node.nextAnimation) >= count) {
    Finding f{Severity::Error, "Animations", node.index,
              "NextAnimation " + next + " is outside the " + std::to_string(count) + " animations",
              "Animations " + next, skeleton.moveable};
    f.rule = "next-animation-outside";
    f.animation = node.index;
    return f;
  }
  std::optional<std::size_t> owner;
  for (std::size_t m = 0; m < document.Moveables.size() && !owner; ++m) {
    const AnimationRange range = ObjectAnimationRange(document, m);
    if (node.nextAnimation >= range.first && node.nextAnimation < range.end) owner = m;
  }
  const std::string belongs = owner ? "object " + std::to_string(*owner) : "no object";
  Finding f{Severity::Warning, "Animations", node.index,
            "NextAnimation " + next + " belongs to " + belongs + ", not to its own object", "Animations " + next,
            skeleton.moveable};
  f.rule = "next-animation-foreign";
  f.animation = node.index;
  return f;
}

std::variant<DrawnObject, Finding> DrawObject(const WadDocument& document, std::size_t moveableIndex,
                                              DrawDepth depth) {
  std::variant<Skeleton, Finding> skeleton = BuildSkeleton(document, moveableIndex);
  if (auto* problem = std::get_if<Finding>(&skeleton)) return std::move(*problem);
  DrawnObject drawn;
  drawn.moveable = moveableIndex;
  drawn.objectId = document.Moveables[moveableIndex].ObjectID;
  drawn.skeleton = std::move(std::get<Skeleton>(skeleton));
  drawn.findings = drawn.skeleton.problems;
  drawn.sources.assign(drawn.skeleton.bones.size(), MeshSource::Own);
  chooseFigure(document, drawn);
  if (depth == DrawDepth::Skeleton) return drawn;

  std::vector<std::int64_t> positions;
  positions.reserve(drawn.skeleton.bones.size());
  for (const Bone& bone : drawn.skeleton.bones) positions.push_back(bone.meshPointer);
  drawn.model = LoadObjectModel(document, positions);
  std::set<std::size_t> pages;
  for (const std::optional<SceneMesh>& mesh : drawn.model.meshes) {
    if (!mesh) continue;
    for (const std::optional<FaceTexture>& texture : mesh->textures) {
      if (texture) pages.insert(texture->page);
    }
  }
  drawn.pages.assign(pages.begin(), pages.end());

  // BuildAnimationGraph fails only for an index that is not a moveable,
  // which BuildSkeleton has ruled out.
  std::variant<AnimationGraph, Finding> graph = BuildAnimationGraph(document, moveableIndex);
  if (auto* built = std::get_if<AnimationGraph>(&graph)) drawn.graph = std::move(*built);
  drawn.findings.insert(drawn.findings.end(), drawn.graph.problems.begin(), drawn.graph.problems.end());
  drawn.animationProblems.reserve(drawn.graph.animations.size());
  AnimationFrameJudge judge(document);
  for (const AnimationNode& node : drawn.graph.animations) {
    drawn.animationProblems.push_back(AnimationProblem(document, drawn.skeleton, node, judge));
  }
  if (std::optional<Finding> left = judge.note()) {
    left->moveable = moveableIndex;
    drawn.findings.push_back(std::move(*left));
  }
  return drawn;
}

}  // namespace tarnlow
