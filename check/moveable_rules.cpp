#include "anim/animation_graph.h"
#include "anim/skeleton.h"
#include "check/rules.h"

namespace tarnlow {

// Skeletons and animation ranges; records which moveable owns which
// animation, for the frame checks that need its mesh count.
void CheckMoveables(CheckContext& context) {
  const WadDocument& doc = context.doc();
  for (std::size_t m = 0; m < doc.Moveables.size(); ++m) {
    if (context.standsForZeros(m)) continue;
    std::variant<Skeleton, Finding> skeleton = BuildSkeleton(doc, m);
    if (auto* problem = std::get_if<Finding>(&skeleton)) {
      context.pass(std::move(*problem), "skeleton", m).moveable = m;
    } else {
      for (Finding& f : std::get<Skeleton>(skeleton).problems) context.pass(std::move(f), "skeleton", m);
    }

    std::optional<Finding> rangeProblem;
    const AnimationRange range = ObjectAnimationRange(doc, m, &rangeProblem);
    if (rangeProblem) context.pass(std::move(*rangeProblem), "animation-range", m);
    context.setOwner(range.first, range.end, m);
    if (range.first < range.end) {
      const MoveableAnimationRef ref = ReadAnimationRef(doc.Moveables[m]);
      const std::int32_t offset = doc.Animations[static_cast<std::size_t>(range.first)].FrameOffset;
      if (ref.frameOffset != offset) {
        context
            .add(Severity::Warning, "first-frame-offset", "Moveables", static_cast<std::int64_t>(m),
                 "its frame offset " + std::to_string(ref.frameOffset) + " (Unknown3) differs from FrameOffset " +
                     std::to_string(offset) + " of its first animation",
                 "Animations " + std::to_string(range.first), m)
            .animation = range.first;
      }
    }
  }
  if (const std::size_t zeros = context.zeroMoveables(); zeros > 0) {
    const std::size_t from = doc.Moveables.size() - 1 - zeros;
    context.add(Severity::Note, "moveables-past-end", "Moveables", static_cast<std::int64_t>(from),
                "the " + std::to_string(zeros) + " moveables after it lie past the end of the file and read as zeros, "
                "as it does: it is judged for them",
                {}, from - 1);
  }
}

}  // namespace tarnlow
