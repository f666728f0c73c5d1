#pragma once

#include "cli/cli_support.h"

namespace tarnlow::cli {

// copy IN.wad OUT.wad: reads IN and writes the document to OUT, which then
// holds every byte of IN that the reader consumed. Returns kExitBadWad when
// IN cannot be read, kExitFailure (with the reason on err) when OUT cannot be
// written, which leaves an existing OUT untouched; kExitUsage for bad
// arguments.
int RunCopy(const CommandContext& context);

}  // namespace tarnlow::cli
