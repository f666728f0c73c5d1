#pragma once

#include <QWidget>

class QTextBrowser;

namespace tarnlow::ui {

// Where the user's guide lives inside the program.
inline constexpr const char* kGuideResource = "qrc:/help/guide.md";

// The user's guide in a window of its own, beside the main window. The
// guide and its pictures are built into the program, so help works offline
// and from the single Windows program alike.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent);

  QTextBrowser* txtGuide = nullptr;
};

}  // namespace tarnlow::ui
