// Skeletons, poses, animation graphs and the WAD check: any moveables,
// animations, state changes, dispatches, commands, mesh trees and frames
// give whole skeletons, poses made of proper rotations, graphs within their
// ranges and findings that name real records, never a read outside an
// array.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "anim/pose.h"
#include "anim/skeleton.h"
#include "check/check_wad.h"
#include "fuzz/anim_fuzz_input.h"
#include "fuzz/fuzz_support.h"

namespace {

using tarnlow::Finding;
using tarnlow::ObjectPose;
using tarnlow::WadDocument;
using tarnlow::fuzz::Require;

std::size_t SectionSize(const WadDocument& d, const std::string& section) {
  if (section == "Moveables") return d.Moveables.size();
  if (section == "Animations") return d.Animations.size();
  if (section == "StateChanges") return d.StateChanges.size();
  if (section == "AnimDispatches") return d.AnimDispatches.size();
  if (section == "MeshPointers") return d.MeshPointers.size();
  if (section == "StaticMeshes") return d.StaticMeshes.size();
  if (section == "TextInfo") return d.TextInfo.size();
  return 0;
}

void CheckFindings(const WadDocument& d) {
  for (const Finding& f : tarnlow::CheckWad(d)) {
    Require(!f.problem.empty(), "a finding says what is wrong");
    // -1 stands for the section as a whole (a folded count of empty slots).
    Require(f.record == -1 || (f.record >= 0 && static_cast<std::size_t>(f.record) < SectionSize(d, f.section)),
            "a finding names a record of a known section, or the section");
    Require(!f.moveable || *f.moveable < d.Moveables.size(), "a finding names a real moveable");
  }
}

bool ProperRotation(const tarnlow::Transform& t) {
  const auto& r = t.rotation;
  for (int row = 0; row < 3; ++row) {
    for (int other = 0; other < 3; ++other) {
      const double dot = r[row * 3] * r[other * 3] + r[row * 3 + 1] * r[other * 3 + 1] + r[row * 3 + 2] * r[other * 3 + 2];
      if (!(std::abs(dot - (row == other ? 1.0 : 0.0)) < 1e-6)) return false;
    }
  }
  return std::isfinite(t.translation.x) && std::isfinite(t.translation.y) && std::isfinite(t.translation.z);
}

void CheckPose(const WadDocument& d, std::size_t m, std::int64_t animation, double frame) {
  const auto pose = tarnlow::PoseObject(d, m, animation, frame);
  const tarnlow::MoveableRecord moveable = d.Moveables[m];
  const bool exists = animation >= 0 && static_cast<std::size_t>(animation) < d.Animations.size();
  if (!exists || moveable.NumMeshes < 1) {
    Require(std::holds_alternative<Finding>(pose), "no pose without an animation or meshes");
    return;
  }
  const int frames = tarnlow::FrameCount(d.Animations[static_cast<std::size_t>(animation)]);
  if (frame >= frames) Require(std::holds_alternative<Finding>(pose), "no pose a whole frame past the last");
  if (!std::holds_alternative<ObjectPose>(pose)) return;
  const ObjectPose& p = std::get<ObjectPose>(pose);
  Require(p.meshes.size() == static_cast<std::size_t>(moveable.NumMeshes), "one placed mesh per mesh");
  for (std::size_t j = 0; j < p.meshes.size(); ++j) {
    Require(ProperRotation(p.meshes[j].world), "every mesh stands by a proper rotation");
    Require(j == 0 ? p.meshes[j].parent == -1 : p.meshes[j].parent >= 0 && static_cast<std::size_t>(p.meshes[j].parent) < j,
            "every parent comes before its child");
  }
}

void CheckMoveable(const WadDocument& d, std::size_t m) {
  const auto skeleton = tarnlow::BuildSkeleton(d, m);
  const tarnlow::MoveableRecord moveable = d.Moveables[m];
  Require(std::holds_alternative<tarnlow::Skeleton>(skeleton) == (moveable.NumMeshes >= 1),
          "a moveable with meshes has a skeleton");

  const auto graph = tarnlow::BuildAnimationGraph(d, m);
  Require(std::holds_alternative<tarnlow::AnimationGraph>(graph), "every moveable has a graph");
  const tarnlow::AnimationGraph& g = std::get<tarnlow::AnimationGraph>(graph);
  Require(g.range.first >= 0 && g.range.first <= g.range.end &&
              g.range.end <= static_cast<std::int64_t>(d.Animations.size()),
          "an object's animations lie inside Animations");
  Require(g.animations.size() == static_cast<std::size_t>(g.range.end - g.range.first), "one node per animation");

  CheckPose(d, m, -1, 0);
  CheckPose(d, m, static_cast<std::int64_t>(d.Animations.size()), 0);
  for (std::int64_t a = g.range.first; a < g.range.end; ++a) {
    const int frames = tarnlow::FrameCount(d.Animations[static_cast<std::size_t>(a)]);
    for (double f : {0.0, 0.5, frames / 2.0, frames - 0.5, static_cast<double>(frames)}) CheckPose(d, m, a, f);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const WadDocument doc =
      tarnlow::fuzz::AnimFuzzInput::Decode(std::span<const std::uint8_t>(data, size)).Document();
  CheckFindings(doc);
  for (std::size_t m = 0; m < doc.Moveables.size(); ++m) CheckMoveable(doc, m);
  return 0;
}
