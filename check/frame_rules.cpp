#include "anim/animation_frames.h"
#include "check/rules.h"

namespace tarnlow {

void CheckAnimationFrames(CheckContext& context) {
  AnimationFrameJudge judge(context.doc());
  for (std::size_t i = 0; i < context.doc().Animations.size(); ++i) {
    const auto index = static_cast<std::int64_t>(i);
    const std::optional<std::size_t> owner = context.ownerOf(index);
    if (owner && !context.judges(*owner)) continue;
    const int meshes = owner ? context.doc().Moveables[*owner].NumMeshes : 0;
    for (Finding& finding : judge.findings(index, owner, meshes)) context.pass(std::move(finding), {}, owner);
  }
  context.leaveUnjudged(judge.left());
}

}  // namespace tarnlow
