#pragma once

#include <QImage>
#include <QWidget>

#include "wad/record_array.h"
#include "wad/swd_document.h"
#include "wad/texture_pages.h"
#include "wad/wad_document.h"

class QComboBox;
class QLabel;
class QSpinBox;

namespace tarnlow::ui {

// A texture page as an image: each pixel opaque in its colour, the magenta
// colour key fully transparent. An empty page gives a null image.
QImage TexturePageImage(const TexturePage& page);

class TexturePageCanvas;

// The texture pages of the WAD or of its SWD, one page at a time, with the
// colour key shown as transparent over a checkerboard. A combo box chooses
// the source ("WAD" or "SWD"), a spin box the page ("Page 1 of N").
class TexturePageWidget : public QWidget {
  Q_OBJECT

 public:
  enum class Source { Wad = 0, Swd = 1 };

  explicit TexturePageWidget(QWidget* parent = nullptr);

  // Takes copies of the WAD's and the SWD's texture sections (the window may
  // replace its documents afterwards) and shows page 1 of the chosen source.
  // An empty SWD document simply has no pages.
  void showTexturePages(const WadDocument& wad, const SwdDocument& swd);
  // Forgets both sections; shows no page.
  void clear();

  void setSource(Source source);
  Source source() const;
  // Shows page `index` (from 0) of the current source; ignored when there
  // is no such page.
  void setPage(int index);
  // The page shown, from 0; -1 when the source has no pages.
  int page() const;
  int pageCount() const;
  // The image of the page shown; null when there is none.
  const QImage& image() const;

  QSize sizeHint() const override { return {480, 420}; }

 private:
  const RecordArray<TextureRow>& section() const;
  void showCurrentSource();
  void showPage(int index);

  RecordArray<TextureRow> wadTextures_;
  RecordArray<TextureRow> swdTextures_;
  QComboBox* sourceBox_;
  QSpinBox* pageBox_;
  QLabel* sizeLabel_;
  TexturePageCanvas* canvas_;
};

}  // namespace tarnlow::ui
