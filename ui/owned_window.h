#pragma once

#include <Qt>

namespace tarnlow::ui {

// The flags of a window of our own beside the main window (the findings,
// the object's own view): a dialog-type window, so that it stays above the
// main window whose lists a user clicks through while reading it (an owned
// window on Windows, transient for the main window on X11), yet with the
// buttons of a window, to be minimised or made as large as the screen.
inline constexpr Qt::WindowFlags kOwnedWindow =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
    Qt::WindowCloseButtonHint;

}  // namespace tarnlow::ui
