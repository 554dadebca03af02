// The settings window: pages on the side, resizable, as large as it was last left. Escape and Ctrl+W
// close it (a dialog open in it first); Ctrl+Tab and Ctrl+Shift+Tab go through the pages.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls

ApplicationWindow {
    id: window
    objectName: "settingsWindow"
    title: qsTr("Settings")
    minimumWidth: view.implicitWidth
    minimumHeight: view.implicitHeight
    // The size it was left at, else one that holds every page: set once, so the window is centred at the
    // size it opens with.
    width: Math.max(680, view.controller.windowSize().width)
    height: Math.max(540, view.controller.windowSize().height)
    flags: Qt.Window | Qt.CustomizeWindowHint | Qt.WindowTitleHint | Qt.WindowCloseButtonHint

    onVisibleChanged: if (visible) view.appeared()
    onClosing: view.controller.keepWindowSize(Qt.size(width, height))

    Shortcut {
        sequences: [StandardKey.Close, "Escape"]
        // A modal dialog in the window takes these keys itself, and closes first.
        enabled: !view.dialogOpen
        onActivated: window.close()
    }
    Shortcut {
        sequences: ["Ctrl+Tab", "Ctrl+PgDown"]
        onActivated: view.showPage(view.controller.page + 1)
    }
    Shortcut {
        sequences: ["Ctrl+Shift+Tab", "Ctrl+PgUp"]
        onActivated: view.showPage(view.controller.page - 1)
    }

    SettingsView {
        id: view
        anchors.fill: parent
    }
}
