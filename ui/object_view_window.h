#pragma once

#include <QWidget>

namespace tarnlow::ui {

class ObjectViewWidget;
class Platform;
struct WindowSettings;

// The object view in a window of its own, sized as the user likes: the main
// window's size is fixed, and so is its picture. Its size and place are
// remembered between runs through the platform.
class ObjectViewWindow : public QWidget {
  Q_OBJECT

 public:
  // Remembers its size and place in `settings` (the window's settings,
  // which outlive it), saved through `platform`.
  ObjectViewWindow(Platform& platform, WindowSettings& settings, QWidget* parent);
  ~ObjectViewWindow() override;

  // Shows what `source` shows, in its animation, frame and angle, named
  // `name` in the title bar, and brings the window up; the first time at the
  // size and place of the last run (a stored value that cannot be used
  // leaves the default).
  void showFrom(const ObjectViewWidget& source, const QString& name);
  // Shows what `source` now shows while the window is open, leaving the
  // focus where it is; nothing while it is closed.
  void follow(const ObjectViewWidget& source, const QString& name);

  ObjectViewWidget* view = nullptr;

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void remember();

  Platform& platform_;
  WindowSettings& settings_;
  bool placed_ = false;
};

}  // namespace tarnlow::ui
