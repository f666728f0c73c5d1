#include "anim/anim_commands.h"
#include "anim/key_frame.h"
#include "check/rules.h"

namespace tarnlow {

void CheckAnimationCommands(CheckContext& context) {
  const WadDocument& doc = context.doc();
  for (std::size_t i = 0; i < doc.Animations.size(); ++i) {
    const auto index = static_cast<std::int64_t>(i);
    const AnimationRecord a = doc.Animations[i];
    const std::optional<std::size_t> owner = context.ownerOf(index);
    std::vector<Finding> problems;
    const std::vector<AnimCommand> commands = DecodeAnimCommands(doc, index, problems, context.soundTable());
    for (Finding& f : problems) context.pass(std::move(f), "commands", owner);
    for (const AnimCommand& c : commands) {
      if (c.type != kPlaySound && c.type != kFlipEffect) continue;
      const int frame = FrameNumber(c.operands[0]);
      if (!IsFrameOf(a, frame)) {
        context
            .add(Severity::Warning, "command-frame-outside", "Animations", index,
                 c.text + " (AnimCommands word " + std::to_string(c.word) + ") names a frame outside its " +
                     DescribeFrames(a) + "; it never plays",
                 "AnimCommands " + std::to_string(c.word), owner)
            .frame = frame;
      }
    }
  }
}

}  // namespace tarnlow
