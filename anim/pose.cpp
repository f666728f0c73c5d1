#include "anim/pose.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace tarnlow {

namespace {

// Angles are whole units of a turn (1024 or 4096), so their sines come from
// a table: posing every key frame of a big WAD spends most of its time here
// otherwise.
AngleSines sinesOf(std::uint32_t unitsOf4096) {
  static const std::vector<double> sines = [] {
    std::vector<double> table(kOneAxisUnitsPerTurn);
    for (std::size_t i = 0; i < table.size(); ++i) {
      table[i] = std::sin(2 * std::numbers::pi * static_cast<double>(i) / kOneAxisUnitsPerTurn);
    }
    return table;
  }();
  constexpr std::uint32_t kMask = kOneAxisUnitsPerTurn - 1, kQuarter = kOneAxisUnitsPerTurn / 4;
  return {sines[unitsOf4096 & kMask], sines[(unitsOf4096 + kQuarter) & kMask]};
}

Transform turnOf(const MeshAngles& angles) {
  constexpr std::uint32_t kThreeAxisStep = kOneAxisUnitsPerTurn / kThreeAxisUnitsPerTurn;
  const AngleSines none;
  switch (angles.encoding) {
    case AngleEncoding::ThreeAxis: {
      const std::uint32_t bits = (std::uint32_t{angles.first} << 16) | angles.second;
      return RotationYXZ(sinesOf(((bits >> 20) & 0x3FF) * kThreeAxisStep),
                         sinesOf(((bits >> 10) & 0x3FF) * kThreeAxisStep), sinesOf((bits & 0x3FF) * kThreeAxisStep));
    }
    case AngleEncoding::XOnly:
      return RotationYXZ(sinesOf(angles.first), none, none);
    case AngleEncoding::YOnly:
      return RotationYXZ(none, sinesOf(angles.first), none);
    case AngleEncoding::ZOnly:
      return RotationYXZ(none, none, sinesOf(angles.first));
  }
  return Identity();
}

Finding poseProblem(std::int64_t animation, std::string problem) {
  return Finding{Severity::Error, "Animations", animation, std::move(problem), {}, std::nullopt};
}

// The shortest text that reads back as `frame`: "3", "2.5".
std::string frameText(double frame) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, frame);
  return std::string(text, result.ptr);
}

Vec3 lerp(Vec3 a, Vec3 b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

// The pose's meshes from the skeleton and the world transforms.
void fillMeshes(const WadDocument& document, const Skeleton& skeleton, const std::vector<Transform>& local,
                const std::vector<Transform>& world, ObjectPose& pose) {
  pose.meshes.resize(skeleton.bones.size());
  for (std::size_t j = 0; j < skeleton.bones.size(); ++j) {
    MeshPose& mesh = pose.meshes[j];
    const Bone& bone = skeleton.bones[j];
    mesh.meshPointer = bone.meshPointer;
    mesh.parent = bone.parent;
    mesh.local = j < local.size() ? local[j] : Transform{};
    mesh.world = world[j];
    if (bone.meshPointer < 0 || static_cast<std::uint64_t>(bone.meshPointer) >= document.MeshPointers.size()) {
      mesh.problem = Finding{Severity::Error, "Moveables", static_cast<std::int64_t>(skeleton.moveable),
                             "mesh " + std::to_string(j) + " is at mesh position " + std::to_string(bone.meshPointer) +
                                 ", outside the " + std::to_string(document.MeshPointers.size()) + " mesh pointers",
                             "MeshPointers " + std::to_string(bone.meshPointer), skeleton.moveable};
    }
  }
}

}  // namespace

std::vector<Transform> LocalTransforms(const KeyFrame& frame, std::size_t meshCount) {
  std::vector<Transform> local;
  LocalTransformsInto(frame, meshCount, local);
  return local;
}

void LocalTransformsInto(const KeyFrame& frame, std::size_t meshCount, std::vector<Transform>& local) {
  local.assign(meshCount, Transform{});
  for (std::size_t j = 0; j < meshCount && j < frame.angles.size(); ++j) local[j] = turnOf(frame.angles[j]);
}

std::vector<Transform> BlendLocalTransforms(const KeyFrame& a, const KeyFrame& b, double t, std::size_t meshCount) {
  std::vector<Transform> local = LocalTransforms(a, meshCount);
  if (t <= 0) return local;
  const std::vector<Transform> other = LocalTransforms(b, meshCount);
  for (std::size_t j = 0; j < meshCount; ++j) {
    local[j] = FromQuaternion(Slerp(RotationQuaternion(local[j]), RotationQuaternion(other[j]), t));
  }
  return local;
}

std::variant<LocalPose, Finding> PoseLocally(const WadDocument& document, const Skeleton& skeleton,
                                             std::optional<std::int64_t> animation, double frame) {
  const std::size_t meshCount = skeleton.bones.size();
  LocalPose pose;
  pose.local.resize(meshCount);
  if (!animation) return pose;
  const std::int64_t index = *animation;
  if (index < 0 || static_cast<std::uint64_t>(index) >= document.Animations.size()) {
    return poseProblem(index, "there is no animation " + std::to_string(index) + "; the WAD holds " +
                                  std::to_string(document.Animations.size()));
  }
  const AnimationRecord a = document.Animations[static_cast<std::size_t>(index)];
  const std::variant<int, Finding> keys = KeyFrameCount(a, index);
  if (const auto* problem = std::get_if<Finding>(&keys)) return *problem;
  const int frames = FrameCount(a);
  if (!(frame >= 0 && frame < frames)) {
    return poseProblem(index, "frame " + frameText(frame) + " is outside its " + std::to_string(frames) +
                                  " frames (0 to " + std::to_string(frames - 1) + ")");
  }
  const FrameSample sample = SampleFrame(std::get<int>(keys), a.FrameRate, frame);
  const int meshes = static_cast<int>(meshCount);
  std::variant<KeyFrameRead, Finding> from = DecodeKeyFrame(document, index, sample.from, meshes);
  if (auto* problem = std::get_if<Finding>(&from)) return std::move(*problem);
  KeyFrameRead& first = std::get<KeyFrameRead>(from);
  if (first.overrun) pose.problems.push_back(*first.overrun);
  pose.box = first.frame.box;
  pose.rootOffset = first.frame.offset;
  if (sample.t > 0) {
    std::variant<KeyFrameRead, Finding> to = DecodeKeyFrame(document, index, sample.to, meshes);
    if (auto* problem = std::get_if<Finding>(&to)) return std::move(*problem);
    const KeyFrameRead& second = std::get<KeyFrameRead>(to);
    if (second.overrun) pose.problems.push_back(*second.overrun);
    pose.local = BlendLocalTransforms(first.frame, second.frame, sample.t, meshCount);
    pose.rootOffset = lerp(first.frame.offset, second.frame.offset, sample.t);
  } else {
    LocalTransformsInto(first.frame, meshCount, pose.local);
  }
  for (Finding& problem : pose.problems) {
    if (!problem.moveable) problem.moveable = skeleton.moveable;
  }
  return pose;
}

std::variant<ObjectPose, Finding> PoseSkeleton(const WadDocument& document, const Skeleton& skeleton,
                                               std::optional<std::int64_t> animation, double frame) {
  std::variant<LocalPose, Finding> turned = PoseLocally(document, skeleton, animation, frame);
  if (auto* problem = std::get_if<Finding>(&turned)) return std::move(*problem);
  LocalPose& local = std::get<LocalPose>(turned);
  ObjectPose pose;
  pose.moveable = skeleton.moveable;
  pose.animation = animation;
  pose.frame = frame;
  pose.box = local.box;
  pose.rootOffset = local.rootOffset;
  pose.problems = skeleton.problems;
  for (Finding& problem : pose.problems) {
    if (!problem.moveable) problem.moveable = skeleton.moveable;
  }
  pose.problems.insert(pose.problems.end(), local.problems.begin(), local.problems.end());
  std::vector<Transform> world;
  WorldTransformsInto(skeleton, pose.rootOffset, local.local, world);
  fillMeshes(document, skeleton, local.local, world, pose);
  return pose;
}

std::variant<ObjectPose, Finding> PoseObject(const WadDocument& document, std::size_t moveableIndex,
                                             std::optional<std::int64_t> animation, double frame) {
  std::variant<Skeleton, Finding> skeleton = BuildSkeleton(document, moveableIndex);
  if (auto* problem = std::get_if<Finding>(&skeleton)) return std::move(*problem);
  return PoseSkeleton(document, std::get<Skeleton>(skeleton), animation, frame);
}

}  // namespace tarnlow
