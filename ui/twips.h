#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>

namespace tarnlow::ui {

// Window geometry is given in twips (1/1440 inch). This is the one place
// where twips become pixels: at the screen's logical resolution.
class Twips {
 public:
  explicit Twips(double dotsPerInch) : dotsPerInch_(dotsPerInch) {}
  // The scale of the primary screen (96 dpi without a screen).
  static Twips OfScreen();

  int px(int twips) const;
  QRect rect(int left, int top, int width, int height) const {
    return QRect(px(left), px(top), px(width), px(height));
  }

 private:
  double dotsPerInch_;
};

// The font the twips layout was drawn for: the platform's own family at
// 8 points. Platform defaults differ (9 points on Windows, 9 to 11 on Linux
// desktops, wider faces there); at this size every caption fits its control.
QFont LayoutFont();

// A label placed at a position and size given in twips.
inline QLabel* LabelAt(QWidget* parent, const Twips& tw, int left, int top, int width, int height) {
  auto* label = new QLabel(parent);
  label->setGeometry(tw.rect(left, top, width, height));
  return label;
}

}  // namespace tarnlow::ui
