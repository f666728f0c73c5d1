#pragma once

#include <QImage>
#include <cstddef>
#include <map>
#include <utility>

#include "mesh/face_textures.h"
#include "ui/preview_math.h"
#include "wad/record_array.h"
#include "wad/wad_records.h"

class QPainter;

// How the mesh preview and the object view paint a face with its texture,
// so that the two pictures show a face alike.
namespace tarnlow::ui {

// A WAD's texture pages as the previews paint them: each page made once,
// the colour key transparent, and darkened in a few steps of light.
class ShadedPages {
 public:
  // Forgets every page.
  void clear();
  // Makes page `page` of `rows` (once); a page past the rows is not made.
  void load(const RecordArray<TextureRow>& rows, std::size_t page);
  // Page `page` darkened to `brightness`; null when it was not loaded.
  const QImage* at(std::size_t page, double brightness);

 private:
  std::map<std::size_t, QImage> pages_;
  std::map<std::pair<std::size_t, int>, QImage> shaded_;
};

// Fills the face whose `count` (3 or 4) screen corners are `corners` with
// `page` as `texture` places it: a quad as its two triangles 0-1-2 and
// 0-2-3, each with the affine map that takes its texture corners to its
// screen corners (exact under the previews' projection). A triangle whose
// texture corners lie on one line is left unpainted. Uses the painter's pen.
void PaintTexturedFace(QPainter& painter, const ScreenPoint* corners, int count, const FaceTexture& texture,
                       const QImage& page);

}  // namespace tarnlow::ui
