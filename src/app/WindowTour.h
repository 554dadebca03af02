#pragma once
// A release check of an installed program, asked for with TESSARIN_WINDOW_TOUR=1: once the main window
// shows, the program opens every window it has, every page of the settings window and every dialog in
// them, one after another, and quits. A dialog is any object whose name ends in "Dialog" and that can
// be opened. One line goes to standard output for each:
//   tessarin-tour opened <window or dialog>
// and one at the end:
//   tessarin-tour warnings <count>
// The exit code is 0 when nothing was warned about on the way (a QML module or type missing, a plugin
// that did not load, a binding that failed), else 1; the warnings themselves still go to standard error.

class ApplicationShell;

namespace WindowTour {

// True when the tour is asked for. Then, before the shell starts, counts every warning from there on.
bool requested();
// Starts the tour on the event loop; the application quits when it ends.
void start(ApplicationShell &shell);

} // namespace WindowTour
