#include <QAbstractButton>
#include <QFontMetricsF>
#include <QStyle>
#include <QStyleOptionButton>

#include "tests/ui/support/window_story.h"
#include "ui/about_dialog.h"

namespace tarnlow::ui::test {
namespace {

// Whether `text` in `font` enlarged by `scale` fits a room of `room` enlarged
// by as much: how the control looks on a screen at that scaling, where
// points and twips grow alike but text is hinted at its new size. Wrapped
// text needs its whole lines; a single line, the height of its ink.
bool Fits(const QString& text, QFont font, QSizeF room, bool wrap, double scale) {
  font.setPointSizeF(font.pointSizeF() * scale);
  room *= scale;
  const QFontMetricsF metrics(font);
  if (wrap) {
    const QRectF lines = metrics.boundingRect(QRectF(QPointF(0, 0), QSizeF(room.width(), 1e6)), Qt::TextWordWrap, text);
    return lines.width() <= room.width() && lines.height() <= room.height();
  }
  return metrics.horizontalAdvance(text) <= room.width() && metrics.tightBoundingRect(text).height() <= room.height();
}

void ExpectTextsFit(const QWidget& root) {
  for (const double scale : {1.0, 1.25}) {
    for (const QLabel* label : root.findChildren<QLabel*>()) {
      if (label->text().isEmpty() || !label->isVisibleTo(&root)) continue;
      EXPECT_TRUE(Fits(label->text(), label->font(), label->contentsRect().size(), label->wordWrap(), scale))
          << label->text().toStdString() << " at " << scale;
    }
    for (const QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
      if (button->text().isEmpty() || !button->isVisibleTo(&root)) continue;
      // The caption is drawn in the button's contents area, inside its bevel.
      QStyleOptionButton option;
      option.initFrom(button);
      option.text = button->text();
      const QSizeF room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
      EXPECT_TRUE(Fits(button->text(), button->font(), room, false, scale))
          << button->text().toStdString() << " at " << scale;
    }
  }
}

TEST(TextFit, EveryTextOfTheAboutBoxFitsItsControl) {
  ScriptedPlatform platform;
  const frmAbout about(platform, nullptr);
  ExpectTextsFit(about);
}

class TextFitTest : public WindowStory {};

TEST_F(TextFitTest, EveryTextOfTheMainWindowFitsItsControl) {
  frmMain& w = startWithStory();
  ExpectTextsFit(w);
}

}  // namespace
}  // namespace tarnlow::ui::test
