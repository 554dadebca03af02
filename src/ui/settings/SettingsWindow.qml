// The settings window: fixed in size, with a title and a close button only.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls

ApplicationWindow {
    id: window
    title: qsTr("Settings")
    width: 480
    height: 384
    minimumWidth: 480
    maximumWidth: 480
    minimumHeight: 384
    maximumHeight: 384
    flags: Qt.Window | Qt.CustomizeWindowHint | Qt.WindowTitleHint | Qt.WindowCloseButtonHint

    onVisibleChanged: if (visible) view.appeared()

    SettingsView {
        id: view
        anchors.fill: parent
    }
}
