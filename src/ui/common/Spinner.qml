// The busy spinner: it turns only while it shows, in a window on screen (a window hidden in the tray or
// minimized wakes no one).
import QtQuick
import QtQuick.Controls

BusyIndicator {
    id: spinner

    running: visible && Window.visibility !== Window.Hidden && Window.visibility !== Window.Minimized
    Accessible.ignored: !visible

    // Qt 6.4's Fusion spinner hides itself when its fade-out ends. Stopped and started again before the
    // window draws its first frame, the fade-out ends only then, after the start, and would hide a
    // running spinner for good: it is shown again. (Connected here rather than by a Connections object:
    // every spinner made is one object fewer.)
    function keepShown() {
        if (running && !contentItem.visible)
            contentItem.visible = true
    }
    Component.onCompleted: contentItem.visibleChanged.connect(keepShown)
}
