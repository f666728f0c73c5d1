#include "anim/drawn_object.h"

#include <algorithm>
#include <set>
#include <string>

#include "anim/animation_frames.h"
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

// Fills the placeholders of `drawn` from LARA_SKIN, or says why they stay.
void wearLaraSkin(const WadDocument& document, DrawnObject& drawn) {
  std::size_t placeholders = 0;
  for (const Bone& bone : drawn.skeleton.bones) placeholders += IsPlaceholderMesh(document, bone.meshPointer) ? 1 : 0;
  if (placeholders == 0) return;
  const std::size_t meshes = drawn.skeleton.bones.size();
  const std::string counted = std::to_string(placeholders) + " of its " + std::to_string(meshes) + " meshes";
  const std::optional<std::size_t> skin = findLaraSkin(document);
  if (!skin) {
    drawn.findings.push_back(moveableNote(
        drawn.moveable, counted + " are placeholders and the WAD holds no LARA_SKIN to fill them: placeholders are drawn"));
    drawn.findings.back().rule = kLaraSkinMissingRule;
    return;
  }
  const MoveableRecord skinRecord = document.Moveables[*skin];
  if (skinRecord.NumMeshes < 0 || static_cast<std::size_t>(skinRecord.NumMeshes) != meshes) {
    drawn.findings.push_back(moveableNote(drawn.moveable,
                                          counted + " are placeholders, but LARA_SKIN has " +
                                              std::to_string(skinRecord.NumMeshes) + " meshes: placeholders are drawn",
                                          "Moveables " + std::to_string(*skin)));
    drawn.findings.back().rule = kLaraSkinMissingRule;
    return;
  }
  for (std::size_t j = 0; j < meshes; ++j) {
    Bone& bone = drawn.skeleton.bones[j];
    const std::int64_t lent = std::int64_t{skinRecord.StartingMesh} + static_cast<std::int64_t>(j);
    if (!IsPlaceholderMesh(document, bone.meshPointer)) continue;
    if (lent < 0 || static_cast<std::uint64_t>(lent) >= document.MeshPointers.size()) continue;
    if (IsPlaceholderMesh(document, lent)) continue;
    bone.meshPointer = lent;
    drawn.sources[j] = MeshSource::LaraSkin;
    drawn.skin = *skin;
  }
}

}  // namespace

bool WearsLaraSkin(std::int32_t objectId) {
  // LARA, PISTOLS_ANIM to FLARE_ANIM, LARA_SCREAM and the two laser sights,
  // LARA_SPEECH_HEAD1 to 4, CROWBAR_ANIM and TORCH_ANIM: the objects that
  // stand in for Lara with part of her body. The stored boxes of the first
  // three groups agree with LARA_SKIN's meshes, not with the placeholders.
  // The holsters have two meshes more than LARA_SKIN and are left alone.
  return (objectId >= kLaraId && objectId <= 7) || (objectId >= 10 && objectId <= 12) ||
         (objectId >= 17 && objectId <= 20) || objectId == 28 || objectId == 29;
}

bool IsPlaceholderMesh(const WadDocument& document, std::int64_t meshPointer) {
  if (meshPointer < 0 || static_cast<std::uint64_t>(meshPointer) >= document.MeshPointers.size()) return false;
  if (document.MeshPointers[static_cast<std::size_t>(meshPointer)] == 0) return true;
  const MeshResult<bool> isNull = IsNullMesh(document, meshPointer);
  const bool* answer = std::get_if<bool>(&isNull);
  return answer != nullptr && *answer;
}

std::optional<Finding> AnimationProblem(const WadDocument& document, const Skeleton& skeleton,
                                        const AnimationNode& node) {
  const int meshes = static_cast<int>(skeleton.bones.size());
  std::vector<Finding> frames = AnimationFrameFindings(document, node.index, skeleton.moveable, meshes);
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
  std::string belongs = "no moveable";
  for (std::size_t m = 0; m < document.Moveables.size(); ++m) {
    const AnimationRange range = ObjectAnimationRange(document, m);
    if (node.nextAnimation >= range.first && node.nextAnimation < range.end) {
      belongs = "moveable " + std::to_string(m);
      break;
    }
  }
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
  if (WearsLaraSkin(drawn.objectId)) wearLaraSkin(document, drawn);
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
  for (const AnimationNode& node : drawn.graph.animations) {
    drawn.animationProblems.push_back(AnimationProblem(document, drawn.skeleton, node));
  }
  return drawn;
}

}  // namespace tarnlow
