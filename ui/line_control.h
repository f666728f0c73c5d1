#pragma once

#include <QColor>
#include <QPainter>
#include <QWidget>

namespace tarnlow::ui {

// A horizontal line drawn across its own width, like a line control on a
// form: a colour and a thickness in pixels.
class LineControl : public QWidget {
 public:
  LineControl(QColor colour, int thickness, QWidget* parent)
      : QWidget(parent), colour_(colour), thickness_(thickness) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  QColor colour() const { return colour_; }
  // Places the line from (x1, y) to (x2, y) of the parent.
  void span(int x1, int x2, int y) { setGeometry(x1, y, x2 - x1, thickness_); }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour_); }

 private:
  QColor colour_;
  int thickness_;
};

}  // namespace tarnlow::ui
