#pragma once

#include "cli/cli_support.h"

namespace tarnlow::cli {

// merge TARGET.wad --from SOURCE.wad (--object|--static) NAME[=SLOT|=free]
// ... [--replace] [--with-leads] [--sounds target|source] [--samples DIR]
// [--names FILE] -o OUT.wad: moves objects into a copy of the target, proves
// it and writes OUT's set. Returns kExitOk when written, kExitFailure when the
// merge is refused, the proof fails (nothing written) or a file cannot be
// written, kExitBadWad when a WAD cannot be read, kExitUsage for bad
// arguments.
int RunMerge(const CommandContext& context);

// remove TARGET.wad (--object|--static) NAME ... [--names FILE] -o OUT.wad:
// the target without those objects, proven and written likewise.
int RunRemove(const CommandContext& context);

}  // namespace tarnlow::cli
