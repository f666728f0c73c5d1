#include "ui/object_view_window.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/object_view_widget.h"
#include "ui/owned_window.h"
#include "ui/platform.h"

namespace tarnlow::ui {

ObjectViewWindow::ObjectViewWindow(Platform& platform, WindowSettings& settings, QWidget* parent)
    : QWidget(parent, kOwnedWindow), view(new ObjectViewWidget(this)), platform_(platform), settings_(settings) {
  setWindowTitle(QStringLiteral("Object - Tarnlow"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view);
  // Large enough to be worth opening, small enough for a laptop's screen.
  QSize size(900, 700);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableGeometry().size() * 0.85);
  }
  resize(size);
}

ObjectViewWindow::~ObjectViewWindow() {
  // Closing the program with this window open remembers it too.
  if (isVisible()) remember();
}

void ObjectViewWindow::showFrom(const ObjectViewWidget& source, const QString& name) {
  if (!placed_) {
    placed_ = true;
    if (!settings_.objectViewGeometry.empty()) {
      restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(settings_.objectViewGeometry)));
    }
  }
  show();
  follow(source, name);
  raise();
  activateWindow();
}

void ObjectViewWindow::follow(const ObjectViewWidget& source, const QString& name) {
  if (!isVisible()) return;
  setWindowTitle(name + QStringLiteral(" - Tarnlow"));
  view->showSameAs(source);
}

void ObjectViewWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  remember();
}

void ObjectViewWindow::remember() {
  settings_.objectViewGeometry = saveGeometry().toBase64().toStdString();
  platform_.SaveSettings(settings_);
}

}  // namespace tarnlow::ui
