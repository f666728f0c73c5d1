#include "anim/sound_players.h"

#include "anim/anim_commands.h"
#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "sound/play_sound.h"

namespace tarnlow {

std::map<int, std::vector<SoundPlayer>> FindSoundPlayers(const WadDocument& document) {
  std::map<int, std::vector<SoundPlayer>> players;
  for (std::size_t m = 0; m < document.Moveables.size(); ++m) {
    const AnimationRange range = ObjectAnimationRange(document, m);
    for (std::int64_t a = range.first; a < range.end; ++a) {
      std::vector<Finding> ignored;  // the check tells what cannot be decoded
      for (const AnimCommand& c : DecodeAnimCommands(document, a, ignored)) {
        if (c.type != kPlaySound) continue;
        players[PlayedSoundOf(c.operands[1]).slot].push_back(
            SoundPlayer{m, a, FrameNumber(c.operands[0]), c.operands[1]});
      }
    }
  }
  return players;
}

}  // namespace tarnlow
