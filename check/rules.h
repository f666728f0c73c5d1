#pragma once

#include <span>

#include "check/check_context.h"

namespace tarnlow {

// The rules of the check, one family per file. A new rule is a function
// here, its file, and a line in AllRules (rules.cpp).

// Moveables: mesh pointers, mesh trees, animation range, frame offset.
// Records which moveable owns which animation: it runs first.
void CheckMoveables(CheckContext& context);
// Animations: their key frames inside Frames and decodable.
void CheckAnimationFrames(CheckContext& context);
// Animations: next animation and frame, state-change ranges and the frames
// their dispatches fire on.
void CheckAnimationLinks(CheckContext& context);
// Animations: their commands, and the frames sounds and effects name.
void CheckAnimationCommands(CheckContext& context);
// State changes and dispatches as sections: ranges, targets and frames.
void CheckStateChanges(CheckContext& context);
void CheckDispatches(CheckContext& context);
// Mesh pointers into MeshData, each mesh decoded; static meshes' pointers.
void CheckMeshPointers(CheckContext& context);
void CheckStaticMeshes(CheckContext& context);
// Texture-info records: page and square.
void CheckTextureInfo(CheckContext& context);
// Objects as the game draws them: key frames whose stored box and pose
// disagree by more than 64 units (one warning per animation), and Lara's
// placeholders drawn for want of a LARA_SKIN.
void CheckDrawnObjects(CheckContext& context);

// The sound files beside the WAD: what is wrong in them, slots that
// objects play but the table lacks, samples the samples folder lacks, and
// the .was against the WAD's objects. Does nothing without sound files.
void CheckSoundFiles(CheckContext& context);

// The file's sections as read: empty ones (an error where something refers
// into them), cut ones, and bytes after the last. Runs after the mesh rule.
void CheckSections(CheckContext& context);

using Rule = void (*)(CheckContext&);

// Every rule, in the order they run.
std::span<const Rule> AllRules();

}  // namespace tarnlow
