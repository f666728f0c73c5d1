#pragma once

#include "cli/cli_support.h"

namespace tarnlow::cli {

// sounds [--format text|json] [--samples DIR] WAD: the sound table beside
// the WAD, one entry per defined slot (samples, volume, range, chance,
// pitch, loop mode, flags, the objects and animations that play it); with
// --samples, the samples DIR lacks are marked. What is wrong with the sound
// files is said on err (in JSON, under "problems"). Returns kExitBadWad when
// the WAD cannot be read, kExitFailure when there is no .sfx, it or the
// samples folder cannot be read, or stdout fails; kExitUsage for bad
// arguments.
int RunSounds(const CommandContext& context);

}  // namespace tarnlow::cli
