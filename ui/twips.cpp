#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace tarnlow::ui {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;
}  // namespace

Twips Twips::OfScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return Twips(screen != nullptr ? screen->logicalDotsPerInch() : kFallbackDpi);
}

QFont LayoutFont() {
  QFont font = QGuiApplication::font();
  font.setPointSizeF(8.0);
  return font;
}

int Twips::px(int twips) const {
  return static_cast<int>(std::lround(twips * dotsPerInch_ / kTwipsPerInch));
}

}  // namespace tarnlow::ui
