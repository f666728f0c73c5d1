#pragma once

#include "cli/cli_support.h"

namespace tarnlow::cli {

// diff OLD.wad NEW.wad [--format text|json]: what differs between two WADs
// and the SWDs beside them, by content (see DiffWads). Both are read as far
// as they go. Returns kExitOk when they hold the same content, kExitFailure
// when not, kExitBadWad when a WAD or an SWD beside one cannot be read,
// kExitUsage for bad arguments.
int RunDiff(const CommandContext& context);

}  // namespace tarnlow::cli
