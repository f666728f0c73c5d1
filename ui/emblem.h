#pragma once

#include <QIcon>
#include <QPixmap>

namespace tarnlow::ui {

// The program's emblem, drawn in code: a stone tablet with a stylised WAD
// cube, 67 by 68 pixels.
QPixmap Emblem();

// The window icon: the emblem drawn at 32 by 32 pixels.
QIcon WindowIcon();

}  // namespace tarnlow::ui
