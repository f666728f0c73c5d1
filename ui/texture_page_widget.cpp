#include "ui/texture_page_widget.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tarnlow::ui {

QImage TexturePageImage(const TexturePage& page) {
  if (page.height <= 0) return {};
  QImage image(TexturePage::kWidth, page.height, QImage::Format_ARGB32);
  for (int y = 0; y < page.height; ++y) {
    for (int x = 0; x < TexturePage::kWidth; ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * TexturePage::kWidth + static_cast<std::size_t>(x)) * 3;
      const std::uint8_t r = page.rgb[at], g = page.rgb[at + 1], b = page.rgb[at + 2];
      image.setPixel(x, y, IsColourKey(r, g, b) ? qRgba(0, 0, 0, 0) : qRgb(r, g, b));
    }
  }
  return image;
}

// Paints the page over a checkerboard, scaled by whole steps when there is
// room (pixels stay sharp squares) and shrunk to fit when there is not.
class TexturePageCanvas : public QWidget {
 public:
  explicit TexturePageCanvas(QWidget* parent) : QWidget(parent) { setMinimumSize(64, 64); }

  void setImage(QImage image, QString emptyText) {
    image_ = std::move(image);
    emptyText_ = std::move(emptyText);
    update();
  }
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (image_.isNull()) {
      painter.setPen(palette().color(QPalette::WindowText));
      painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
      return;
    }
    const QRectF target = placement();
    const int square = 8;
    painter.save();
    painter.setClipRect(target);
    for (int y = 0; y * square < target.height(); ++y) {
      for (int x = 0; x * square < target.width(); ++x) {
        const QColor tone = (x + y) % 2 == 0 ? QColor(204, 204, 204) : QColor(153, 153, 153);
        painter.fillRect(QRectF(target.left() + x * square, target.top() + y * square, square, square), tone);
      }
    }
    painter.restore();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < image_.width());
    painter.drawImage(target, image_);
  }

 private:
  QRectF placement() const {
    const double fit = std::min(double(width()) / image_.width(), double(height()) / image_.height());
    const double scale = fit >= 1.0 ? std::floor(fit) : fit;
    const QSizeF size(image_.width() * scale, image_.height() * scale);
    return QRectF(QPointF(std::floor((width() - size.width()) / 2), 0), size);
  }

  QImage image_;
  QString emptyText_;
};

TexturePageWidget::TexturePageWidget(QWidget* parent)
    : QWidget(parent),
      sourceBox_(new QComboBox(this)),
      pageBox_(new QSpinBox(this)),
      sizeLabel_(new QLabel(this)),
      canvas_(new TexturePageCanvas(this)) {
  sourceBox_->addItem(QStringLiteral("WAD"));
  sourceBox_->addItem(QStringLiteral("SWD"));
  pageBox_->setPrefix(QStringLiteral("Page "));
  pageBox_->setKeyboardTracking(false);

  auto* controls = new QHBoxLayout;
  controls->addWidget(sourceBox_);
  controls->addWidget(pageBox_);
  controls->addWidget(sizeLabel_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(controls);
  layout->addWidget(canvas_, 1);

  connect(sourceBox_, &QComboBox::currentIndexChanged, this, [this] { showCurrentSource(); });
  connect(pageBox_, &QSpinBox::valueChanged, this, [this](int shown) { showPage(shown - 1); });
  showCurrentSource();
}

void TexturePageWidget::showTexturePages(const WadDocument& wad, const SwdDocument& swd) {
  wadTextures_ = wad.TextData;
  swdTextures_ = swd.SwdTextData;
  showCurrentSource();
}

void TexturePageWidget::clear() {
  wadTextures_ = {};
  swdTextures_ = {};
  showCurrentSource();
}

void TexturePageWidget::setSource(Source source) { sourceBox_->setCurrentIndex(static_cast<int>(source)); }

TexturePageWidget::Source TexturePageWidget::source() const {
  return sourceBox_->currentIndex() == static_cast<int>(Source::Swd) ? Source::Swd : Source::Wad;
}

void TexturePageWidget::setPage(int index) {
  if (index < 0 || index >= pageCount()) return;
  pageBox_->setValue(index + 1);
}

int TexturePageWidget::page() const { return pageCount() == 0 ? -1 : pageBox_->value() - 1; }

int TexturePageWidget::pageCount() const {
  // A spin box counts in int; no section comes near that many pages.
  return static_cast<int>(std::min<std::size_t>(TexturePageCount(section()), std::numeric_limits<int>::max()));
}

const QImage& TexturePageWidget::image() const { return canvas_->image(); }

const RecordArray<TextureRow>& TexturePageWidget::section() const {
  return source() == Source::Swd ? swdTextures_ : wadTextures_;
}

void TexturePageWidget::showCurrentSource() {
  const int count = pageCount();
  {
    // Setting the range may move the value; the page is shown once, below.
    const QSignalBlocker blocker(pageBox_);
    pageBox_->setRange(count == 0 ? 0 : 1, std::max(count, 0));
    pageBox_->setSuffix(QStringLiteral(" of %1").arg(count));
    pageBox_->setValue(count == 0 ? 0 : 1);
  }
  pageBox_->setEnabled(count > 0);
  showPage(0);
}

void TexturePageWidget::showPage(int index) {
  if (index < 0 || index >= pageCount()) {
    const QString name = source() == Source::Swd ? QStringLiteral("SWD") : QStringLiteral("WAD");
    canvas_->setImage({}, QStringLiteral("The %1 holds no texture pages.").arg(name));
    sizeLabel_->clear();
    return;
  }
  const TexturePage texturePage = TexturePageAt(section(), static_cast<std::size_t>(index));
  sizeLabel_->setText(QStringLiteral("256 x %1 pixels").arg(texturePage.height));
  canvas_->setImage(TexturePageImage(texturePage), {});
}

}  // namespace tarnlow::ui
