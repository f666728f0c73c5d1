#pragma once

#include "cli/cli_support.h"

namespace tarnlow::cli {

// report [--level 0|1|2] [--format txt|csv|rtf] [--at "YYYY-MM-DD HH:MM:SS"]
// [-o FILE] WAD: the statistics report, byte for byte as the window saves
// it, on stdout or atomically into FILE. Defaults: level 0, txt, the current
// local time. Returns kExitBadWad when the WAD cannot be read, kExitFailure
// when FILE cannot be written, kExitUsage for bad arguments.
int RunReport(const CommandContext& context);

// summary [--jobs N] PATH...: one CSV row per WAD (folders searched
// recursively for *.wad in any case), read in parallel, rows in sorted
// order. A WAD that cannot be read gets its error in its row; the command
// still returns kExitOk. kExitUsage for bad arguments.
int RunSummary(const CommandContext& context);

// dump WAD: the whole document as JSON, texture and mesh bytes given by
// their counts only. Returns kExitBadWad when the WAD cannot be read,
// kExitUsage for bad arguments.
int RunDump(const CommandContext& context);

}  // namespace tarnlow::cli
