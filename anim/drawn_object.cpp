#include "anim/drawn_object.h"

#include <algorithm>
#include <set>
#include <string>

#include "anim/key_frame.h"
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
    return;
  }
  const MoveableRecord skinRecord = document.Moveables[*skin];
  if (skinRecord.NumMeshes < 0 || static_cast<std::size_t>(skinRecord.NumMeshes) != meshes) {
    drawn.findings.push_back(moveableNote(drawn.moveable,
                                          counted + " are placeholders, but LARA_SKIN has " +
                                              std::to_string(skinRecord.NumMeshes) + " meshes: placeholders are drawn",
                                          "Moveables " + std::to_string(*skin)));
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
  const auto own = [&](Finding f) {
    f.moveable = skeleton.moveable;
    return f;
  };
  const std::variant<int, Finding> keys = KeyFrameCount(node.record, node.index);
  if (const auto* problem = std::get_if<Finding>(&keys)) return own(*problem);
  const int meshes = static_cast<int>(skeleton.bones.size());
  for (int k = 0; k < std::get<int>(keys); ++k) {
    const std::variant<KeyFrameRead, Finding> read = DecodeKeyFrame(document, node.index, k, meshes);
    if (const auto* problem = std::get_if<Finding>(&read)) return own(*problem);
    if (const auto& overrun = std::get<KeyFrameRead>(read).overrun) return own(*overrun);
  }
  if (!node.nextInObject) {
    return Finding{Severity::Warning, "Animations", node.index,
                   "NextAnimation " + std::to_string(node.nextAnimation) + " is not one of this object's animations",
                   "Animations " + std::to_string(node.nextAnimation), skeleton.moveable};
  }
  return std::nullopt;
}

std::variant<DrawnObject, Finding> DrawObject(const WadDocument& document, std::size_t moveableIndex) {
  std::variant<Skeleton, Finding> skeleton = BuildSkeleton(document, moveableIndex);
  if (auto* problem = std::get_if<Finding>(&skeleton)) return std::move(*problem);
  DrawnObject drawn;
  drawn.moveable = moveableIndex;
  drawn.objectId = document.Moveables[moveableIndex].ObjectID;
  drawn.skeleton = std::move(std::get<Skeleton>(skeleton));
  drawn.findings = drawn.skeleton.problems;
  drawn.sources.assign(drawn.skeleton.bones.size(), MeshSource::Own);
  if (WearsLaraSkin(drawn.objectId)) wearLaraSkin(document, drawn);

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
