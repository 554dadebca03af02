// The about dialog: the icon, the name and the version.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin

ApplicationWindow {
    id: window
    title: qsTr("About Tessarin")
    width: 280
    height: 240
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height
    flags: Qt.Window | Qt.CustomizeWindowHint | Qt.WindowTitleHint | Qt.WindowCloseButtonHint

    Shortcut {
        sequences: [StandardKey.Cancel]
        onActivated: window.close()
    }

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 8

        IconView {
            objectName: "aboutIcon"
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 96
            Layout.preferredHeight: 96
        }
        Label {
            objectName: "aboutName"
            Layout.alignment: Qt.AlignHCenter
            text: qsTr("Tessarin")
            font.pixelSize: 18
            font.bold: true
        }
        Label {
            objectName: "aboutVersion"
            Layout.alignment: Qt.AlignHCenter
            text: qsTr("Version 1.0")
            font.pixelSize: 12
        }
    }
}
