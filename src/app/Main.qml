// The main window with the application's menu bar and its keyboard shortcuts.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Tessarin
import Tessarin.List

ApplicationWindow {
    id: window
    width: 1080
    height: 680
    title: qsTr("Tessarin 1.0")

    readonly property string newIssueKeys: "Ctrl+N"
    readonly property string settingsKeys: "Ctrl+,"
    readonly property string hideKeys: "Ctrl+H"
    readonly property string quitKeys: "Ctrl+Q"

    // The menu items only show these keys. Two items owning one key would make it ambiguous, and Qt
    // then fires neither: each key belongs to exactly one shortcut, valid in every window.
    Shortcut {
        id: newIssueShortcut
        sequence: window.newIssueKeys
        context: Qt.ApplicationShortcut
        onActivated: contentView.controller.requestNewIssue("")
    }
    Shortcut {
        id: settingsShortcut
        sequence: window.settingsKeys
        context: Qt.ApplicationShortcut
        onActivated: AppDelegate.showSettings()
    }
    Shortcut {
        id: hideShortcut
        sequence: window.hideKeys
        context: Qt.ApplicationShortcut
        onActivated: AppDelegate.hideApplication()
    }
    Shortcut {
        id: quitShortcut
        sequence: window.quitKeys
        context: Qt.ApplicationShortcut
        onActivated: Qt.quit()
    }

    menuBar: MenuBar {
        // Each menu in an item of its own making: Qt 6.4 gives the bar's own items the menu bar's role and
        // no action, so a screen reader could not open them.
        AccessibleMenuBarItem {
            menu: ShellMenu {
                objectName: "applicationMenu"
                title: qsTr("Tessarin")
                ShellMenuItem {
                    objectName: "aboutItem"
                    text: qsTr("About Tessarin")
                    onTriggered: AppDelegate.showAbout()
                }
                MenuSeparator {}
                ShellMenuItem {
                    objectName: "settingsItem"
                    text: qsTr("Settings…")
                    shortcutText: window.settingsKeys
                    onTriggered: AppDelegate.showSettings()
                }
                MenuSeparator {}
                ShellMenuItem {
                    objectName: "hideItem"
                    text: qsTr("Hide Tessarin")
                    shortcutText: window.hideKeys
                    onTriggered: AppDelegate.hideApplication()
                }
                MenuSeparator {}
                ShellMenuItem {
                    objectName: "applicationQuitItem"
                    text: qsTr("Quit Tessarin")
                    shortcutText: window.quitKeys
                    onTriggered: Qt.quit()
                }
            }
        }
        AccessibleMenuBarItem {
            menu: ShellMenu {
                objectName: "fileMenu"
                title: qsTr("File")
                ShellMenuItem {
                    objectName: "newIssueItem"
                    text: qsTr("New Issue…")
                    shortcutText: window.newIssueKeys
                    onTriggered: contentView.controller.requestNewIssue("")
                }
                ShellMenuItem {
                    objectName: "goToIssueItem"
                    text: qsTr("Go to Issue…")
                    shortcutText: "Ctrl+K"
                    onTriggered: contentView.openGoTo()
                }
                MenuSeparator {}
                ShellMenuItem {
                    objectName: "fileQuitItem"
                    text: qsTr("Quit Tessarin")
                    shortcutText: window.quitKeys
                    onTriggered: Qt.quit()
                }
            }
        }
    }

    ContentView {
        id: contentView
        anchors.fill: parent
        onSettingsRequested: AppDelegate.showSettings()
    }
}
