// The settings window's Notifications page: which changes in the user's issues the desktop is told
// about, each kind on its own switch, and whether closing the window leaves Tessarin in the tray.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Settings

Item {
    id: page

    required property SettingsController controller
    // Asked each time the page is shown: a tray may come or go with the desktop's panel.
    property bool trayAvailable: false
    readonly property string notificationHelp: qsTr("The desktop shows a notification; its Open button shows the issue.")
    onVisibleChanged: if (visible) trayAvailable = controller.trayAvailable()

    implicitWidth: switches.implicitWidth
    implicitHeight: switches.implicitHeight

    ColumnLayout {
        id: switches
        anchors.left: parent.left
        anchors.right: parent.right
        spacing: 4
        Label {
            text: qsTr("Tell the desktop when, in my issues:")
            font.pixelSize: 12
        }
        Switch {
            objectName: "notifyAssigned"
            text: qsTr("an issue is assigned to me")
            checked: AppSettings.notifyAssigned
            onToggled: AppSettings.notifyAssigned = checked
            Accessible.name: qsTr("Notify when an issue is assigned to me")
            Accessible.description: page.notificationHelp
        }
        Switch {
            objectName: "notifyStatusChanges"
            text: qsTr("someone else changes a status")
            checked: AppSettings.notifyStatusChanges
            onToggled: AppSettings.notifyStatusChanges = checked
            Accessible.name: qsTr("Notify when someone else changes a status")
            Accessible.description: page.notificationHelp
        }
        Switch {
            objectName: "notifyComments"
            text: qsTr("someone else comments")
            checked: AppSettings.notifyComments
            onToggled: AppSettings.notifyComments = checked
            Accessible.name: qsTr("Notify when someone else comments")
            Accessible.description: page.notificationHelp
        }
        Switch {
            objectName: "notifyWatched"
            text: qsTr("Tell me the same of issues I watch")
            checked: page.controller.notifyWatched
            onToggled: page.controller.notifyWatched = checked
            Accessible.name: qsTr("Notify of changes to issues I watch")
            Accessible.description: qsTr("Issues I watch but that are not mine.")
        }
        Switch {
            objectName: "keepInTray"
            Layout.topMargin: 6
            text: qsTr("Keep running in the tray when the window is closed")
            enabled: page.trayAvailable
            checked: AppSettings.keepInTray && enabled
            onToggled: AppSettings.keepInTray = checked
            Accessible.name: text
            Accessible.description: page.trayAvailable
                                    ? qsTr("Quit Tessarin in the tray's menu, or Ctrl+Q, then ends it.")
                                    : trayReason.text
        }
        Label {
            id: trayReason
            objectName: "trayReason"
            visible: !page.trayAvailable
            text: qsTr("No system tray runs on this desktop.")
            font.pixelSize: 11
            color: Theme.secondary
        }
    }
}
