#pragma once

#include "cli/cli_support.h"

namespace tarnlow::cli {

// objects [--names FILE] WAD: each object of the WAD by name, and under each
// its mesh lines indented by four spaces. The names come from FILE, by
// default TR4Objects.dat beside the executable; a missing or faulty name
// file gives one warning on err and the listing goes on with the names read.
// Returns kExitBadWad when the WAD cannot be read, kExitUsage for bad
// arguments.
int RunObjects(const CommandContext& context);

}  // namespace tarnlow::cli
