#pragma once

#include "cli/cli_support.h"

namespace tarnlow::cli {

// textures WAD -o DIR [--swd]: every 256-row texture page of the WAD (or,
// with --swd, of the SWD beside it) as DIR/page_000.png, page_001.png, ...,
// the colour key transparent. DIR is created when missing; each file is
// replaced only when its write succeeds. Returns kExitBadWad when the WAD
// (or the SWD) is missing or cannot be read, kExitFailure when a file cannot
// be written, kExitUsage for bad arguments.
int RunTextures(const CommandContext& context);

// mesh (--object N --mesh J | --pointer K) WAD -o FILE.obj: one mesh as
// Wavefront OBJ. Mesh J of object N is the one the object's mesh list shows
// as "Mesh J" (mesh pointer StartingMesh + J); --pointer names a mesh
// pointer directly. A dummy pointer (0) exports the mesh at offset 0 and
// says so on err. Returns kExitFailure when the mesh does not exist or
// cannot be decoded (with the reason) or FILE cannot be written,
// kExitBadWad when the WAD cannot be read, kExitUsage for bad arguments.
int RunMesh(const CommandContext& context);

// gltf --object N WAD -o FILE.gltf|FILE.glb: object N as a glTF 2.0 scene
// (see ExportObjectGltf), JSON with the data embedded for .gltf, the binary
// container for .glb; what had to be left out is said on err as notes.
// Returns kExitFailure when the object does not exist or cannot be
// assembled (with the reason) or FILE cannot be written, kExitBadWad when
// the WAD cannot be read, kExitUsage for bad arguments (an output name that
// ends in neither).
int RunGltf(const CommandContext& context);

}  // namespace tarnlow::cli
