#pragma once

#include "wad/bytes.h"
#include "wad/wad_document.h"

namespace tarnlow::sample {

// The bundled sample WAD: a few named objects (LARA, her 15 meshes
// placeholders, and LARA_SKIN with her look; two enemies, a pickup, a key
// and an animating) whose meshes are boxes,
// pyramids and discs with normals or shades, triangles and quads, a few
// placeholder (null-shape) meshes and dummy (pointer 0) meshes; several
// records in every section; a 256 x 256 texture page. Always the same bytes.
WadDocument SampleWad();

// The sprite companion of the sample, in the SWD file form: four entries, a
// 64-row sprite texture page and four records.
Bytes SampleSwdBytes();

}  // namespace tarnlow::sample
