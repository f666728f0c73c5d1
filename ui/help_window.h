#pragma once

#include <QWidget>

class QListWidget;
class QTextBrowser;

namespace tarnlow::ui {

// Where the user's guide lives inside the program.
inline constexpr const char* kGuideResource = "qrc:/help/guide.md";

// The user's guide in a window of its own, beside the main window: its
// topics (the guide's headings) on the left, the text on the right. The
// guide and its pictures are built into the program, so help works offline
// and from the single Windows program alike.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent);

  QListWidget* lstTopics = nullptr;
  QTextBrowser* txtGuide = nullptr;

  // Scrolls the guide so that the selected topic's heading is at the top.
  void lstTopics_Click();
};

}  // namespace tarnlow::ui
