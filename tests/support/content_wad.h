#pragma once

#include <cstddef>

#include "tests/support/wad_fields.h"

namespace tarnlow::test {

// A WAD whose object (slot 35) shows an 8 x 8 picture on a textured quad
// and a textured triangle, with two animations (a state change, a dispatch,
// a Play Sound command, NextAnimation leading from one to the other), and
// a static (slot 20) on the quad's mesh. Every section is a field, so that
// a test can change one thing and build.
struct ContentWad : WadFields {
  // The object is moveable 0, the static is static 0; the picture lies at
  // (8, 4) on the page.
  static ContentWad Plain();
  // The same content at other positions: another object (slot 10) first,
  // with its mesh, animation and frames before the object's; the picture
  // stored mirrored at (100, 20) and named by mirrored face words; the mesh
  // tree after three other words; zero turns stored as Z-only words where
  // Plain stores X-only ones; the static second.
  static ContentWad Moved();
  // Plain's bytes with each record one further on: an unused mesh, tree
  // link, animation (with its state change, dispatch and command) and key
  // frame first.
  static ContentWad Relocated();

  // Byte offset in pageRows of pixel (x, y).
  static std::size_t PixelAt(int x, int y) { return (static_cast<std::size_t>(y) * 256 + static_cast<std::size_t>(x)) * 3; }
};

}  // namespace tarnlow::test
