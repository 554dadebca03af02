#pragma once
// Where the main window was when the application last ended: its size and position, whether it was
// maximised, and the width of its sidebar, kept in the preferences file's group "window".

class QQuickWindow;

namespace WindowPlacement {

// Puts the window where it was: the size always, the position only when it is still on a screen, and
// the sidebar's width. False when nothing is remembered, and the window is left as it is.
bool restore(QQuickWindow *window);
void save(const QQuickWindow *window);

} // namespace WindowPlacement
