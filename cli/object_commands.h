#pragma once

#include "cli/cli_support.h"

namespace tarnlow::cli {

// check WAD [--format text|json]: every cross-reference of the WAD tested,
// one line per finding (severity, section, record, what is wrong, what it
// points at) and a summary line; as JSON, one object with the findings and
// the counts. Returns kExitOk when nothing is wrong (notes alone do not
// count), kExitFailure when there is an error or a warning, kExitBadWad when
// the WAD cannot be read, kExitUsage for bad arguments.
int RunCheck(const CommandContext& context);

// pose --object N [--anim A] [--frame F] WAD -o FILE.obj: object N standing
// in frame F (0 = the animation's first, fractions interpolate) of its
// animation A (0 = the object's first animation) as Wavefront OBJ. Without
// --anim the object's first animation, or the rest pose for an object
// without animations (said on err). Returns kExitFailure when the object,
// animation or frame does not exist or cannot be posed (with the reason) or
// FILE cannot be written, kExitBadWad when the WAD cannot be read,
// kExitUsage for bad arguments.
int RunPose(const CommandContext& context);

}  // namespace tarnlow::cli
