#include "anim/animation_frames.h"
#include "check/rules.h"

namespace tarnlow {

namespace {

void checkFrames(CheckContext& context, std::int64_t index) {
  const std::optional<std::size_t> owner = context.ownerOf(index);
  const int meshes = owner ? context.doc().Moveables[*owner].NumMeshes : 0;
  for (Finding& finding : AnimationFrameFindings(context.doc(), index, owner, meshes)) {
    context.pass(std::move(finding), {}, owner);
  }
}

}  // namespace

void CheckAnimationFrames(CheckContext& context) {
  for (std::size_t i = 0; i < context.doc().Animations.size(); ++i) checkFrames(context, static_cast<std::int64_t>(i));
}

}  // namespace tarnlow
