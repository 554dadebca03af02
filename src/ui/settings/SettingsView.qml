// The settings window's content: server, token, certificate trust and refresh interval, each written to
// the settings as soon as it changes, and the connection test.
import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Settings

Item {
    id: view

    readonly property SettingsController controller: SettingsController { settings: AppSettings }

    function appeared() {
        controller.appeared()
    }

    // Made the first time it is asked for, then kept.
    function openNetwork() {
        networkLoader.active = true
        networkLoader.item.show()
        networkLoader.item.raise()
        networkLoader.item.requestActivate()
    }
    Loader {
        id: networkLoader
        active: false
        sourceComponent: NetworkSettingsWindow {
            controller: view.controller
            transientParent: view.Window.window
        }
    }

    implicitWidth: 480
    implicitHeight: 384

    ColumnLayout {
        // Tighter than the rows would like: with help texts on two lines, both warning lines and a
        // two-line error, everything must still fit the fixed window.
        anchors.fill: parent
        anchors.leftMargin: 26
        anchors.rightMargin: 26
        anchors.topMargin: 18
        anchors.bottomMargin: 18
        spacing: 10

        Label {
            text: qsTr("Jira Connection")
            font.pixelSize: 20
            font.bold: true
        }
        // The other settings and the cache, under the heading: a row that longer words than English's fit.
        Row {
            Layout.topMargin: -6
            spacing: 14
            Button {
                objectName: "notificationsButton"
                flat: true
                leftPadding: 2
                rightPadding: 2
                text: qsTr("Notifications…")
                font.pixelSize: 11
                Accessible.name: qsTr("Notification settings")
                onClicked: notificationsDialog.open()
                Accessible.onPressAction: notificationsDialog.open()
            }
            Button {
                objectName: "networkButton"
                flat: true
                leftPadding: 2
                rightPadding: 2
                text: qsTr("Network…")
                font.pixelSize: 11
                Accessible.name: qsTr("Network settings")
                onClicked: view.openNetwork()
                Accessible.onPressAction: view.openNetwork()
            }
            // The last list, kept on disk to show at once at the next start.
            Button {
                objectName: "clearCacheButton"
                flat: true
                leftPadding: 2
                rightPadding: 2
                text: view.controller.cacheText || qsTr("Clear cached data")
                font.pixelSize: 11
                Accessible.name: text
                onClicked: view.controller.clearCachedData()
            }
        }

        SettingRow {
            objectName: "urlRow"
            title: qsTr("Server URL")
            subtitle: qsTr("Your Jira Server / Data Center base URL.")
            warning: view.controller.insecureURLWarning

            TextField {
                objectName: "urlField"
                // Narrower when a longer title needs the room.
                Layout.fillWidth: true
                Layout.preferredWidth: 260
                Layout.maximumWidth: 260
                Layout.minimumWidth: 160
                Layout.alignment: Qt.AlignTop
                placeholderText: qsTr("https://jira.example-corp.com")
                inputMethodHints: Qt.ImhNoPredictiveText | Qt.ImhNoAutoUppercase | Qt.ImhUrlCharactersOnly
                text: AppSettings.baseURLString
                onTextEdited: AppSettings.baseURLString = text
                Accessible.name: qsTr("Server URL")
            }
        }

        SettingRow {
            objectName: "tokenRow"
            title: qsTr("Personal Access Token")
            subtitle: qsTr("Jira profile ▸ Personal Access Tokens.")
            warning: view.controller.keyringWarning
            warningDetail: AppSettings.keyringError

            TextField {
                objectName: "tokenField"
                // Narrower when a longer title needs the room.
                Layout.fillWidth: true
                Layout.preferredWidth: 260
                Layout.maximumWidth: 260
                Layout.minimumWidth: 160
                Layout.alignment: Qt.AlignTop
                // Qt 6.4's bridge sends no name for a password field, and makes the placeholder its
                // description: a screen reader reads this.
                placeholderText: qsTr("Personal Access Token")
                echoMode: TextInput.Password
                inputMethodHints: Qt.ImhSensitiveData | Qt.ImhNoPredictiveText | Qt.ImhNoAutoUppercase
                text: view.controller.tokenInput
                onTextEdited: view.controller.tokenInput = text
                Accessible.name: qsTr("Personal Access Token")
            }
        }

        SettingRow {
            title: qsTr("Self-signed certificate")
            subtitle: qsTr("Trust it if your Jira uses an internal CA.")

            CheckBox {
                objectName: "trustToggle"
                Layout.alignment: Qt.AlignTop
                checked: AppSettings.trustSelfSigned
                onToggled: AppSettings.trustSelfSigned = checked
                Accessible.name: qsTr("Self-signed certificate")
            }
        }

        SettingRow {
            title: qsTr("Refresh interval")
            subtitle: qsTr("How often to check for updates.")

            ComboBox {
                objectName: "intervalPicker"
                // Narrower when a longer title needs the room.
                Layout.fillWidth: true
                Layout.preferredWidth: 260
                Layout.maximumWidth: 260
                Layout.minimumWidth: 160
                Layout.alignment: Qt.AlignTop
                model: view.controller.intervalTitles
                currentIndex: view.controller.intervalIndex
                displayText: currentIndex < 0 ? view.controller.customIntervalTitle : currentText
                onActivated: index => view.controller.intervalIndex = index
                Accessible.name: qsTr("Refresh interval")
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 10

            Button {
                objectName: "testButton"
                Layout.preferredWidth: 140
                text: view.controller.isTesting ? "" : qsTr("Test Connection")
                enabled: view.controller.canTest
                onClicked: view.controller.testConnection()

                BusyIndicator {
                    anchors.centerIn: parent
                    width: 20
                    height: 20
                    visible: view.controller.isTesting
                    Accessible.ignored: !visible
                    running: visible
                }
            }

            RowLayout {
                objectName: "testResult"
                readonly property bool succeeded: view.controller.testResult === SettingsController.Success
                readonly property color tint: succeeded ? Theme.statusColor("done") : Theme.red

                Layout.fillWidth: true
                visible: view.controller.testResult !== SettingsController.None
                spacing: 4

                // The emblems come in their own green and red; tinting would flatten them to a square.
                IconImage {
                    Layout.alignment: Qt.AlignTop
                    sourceSize.width: 16; sourceSize.height: 16
                    name: parent.succeeded ? "emblem-success" : "emblem-error"
                }
                Label {
                    objectName: "testResultText"
                    Accessible.ignored: !visible
                    Layout.fillWidth: true
                    text: view.controller.testResultText
                    textFormat: Text.PlainText // a server's error page is shown as the text it is
                    font.pixelSize: 12
                    color: parent.tint
                    wrapMode: Text.Wrap
                    maximumLineCount: 3
                    elide: Text.ElideRight
                }
            }
        }

        // A certificate the system does not trust: the user judges it, and may trust that one alone.
        Button {
            objectName: "checkCertificate"
            visible: view.controller.certificateDetails.length > 0
            Accessible.ignored: !visible
            text: qsTr("Check Certificate…")
            Accessible.name: qsTr("Check the server's certificate")
            onClicked: certificateDialog.open()
            Accessible.onPressAction: certificateDialog.open()
        }

        Item {
            Layout.fillHeight: true
        }
    }

    // Which changes the desktop is told about, each kind on its own switch.
    Dialog {
        id: notificationsDialog
        objectName: "notificationsDialog"
        parent: Overlay.overlay
        anchors.centerIn: parent
        modal: true
        focus: true
        title: qsTr("Notifications and Tray")
        standardButtons: Dialog.Close
        property bool trayAvailable: false
        onAboutToShow: trayAvailable = view.controller.trayAvailable()
        ColumnLayout {
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
            }
            Switch {
                objectName: "notifyStatusChanges"
                text: qsTr("someone else changes a status")
                checked: AppSettings.notifyStatusChanges
                onToggled: AppSettings.notifyStatusChanges = checked
                Accessible.name: qsTr("Notify when someone else changes a status")
            }
            Switch {
                objectName: "notifyComments"
                text: qsTr("someone else comments")
                checked: AppSettings.notifyComments
                onToggled: AppSettings.notifyComments = checked
                Accessible.name: qsTr("Notify when someone else comments")
            }
            Switch {
                objectName: "notifyWatched"
                text: qsTr("Tell me the same of issues I watch")
                checked: view.controller.notifyWatched
                onToggled: view.controller.notifyWatched = checked
                Accessible.name: qsTr("Notify of changes to issues I watch")
            }
            Switch {
                objectName: "keepInTray"
                Layout.topMargin: 6
                text: qsTr("Keep running in the tray when the window is closed")
                enabled: notificationsDialog.trayAvailable
                checked: AppSettings.keepInTray && enabled
                onToggled: AppSettings.keepInTray = checked
                Accessible.name: text
                Accessible.description: trayReason.text
            }
            Label {
                id: trayReason
                objectName: "trayReason"
                visible: !notificationsDialog.trayAvailable
                text: qsTr("No system tray runs on this desktop.")
                font.pixelSize: 11
                color: Theme.secondary
            }
        }
    }

    Dialog {
        id: certificateDialog
        objectName: "certificateDialog"
        parent: Overlay.overlay
        anchors.centerIn: parent
        width: Math.min(parent ? parent.width - 24 : 440, 456)
        modal: true
        focus: true
        title: qsTr("The server's certificate")
        ColumnLayout {
            width: parent.width
            spacing: 8
            Label {
                Layout.fillWidth: true
                text: qsTr("Trust it only if it is your server's own: compare the fingerprint with the one your administrators give.")
                wrapMode: Text.Wrap
                font.pixelSize: 12
            }
            TextArea {
                objectName: "certificateDetails"
                Layout.fillWidth: true
                readOnly: true
                selectByMouse: true
                wrapMode: TextEdit.WrapAnywhere
                textFormat: TextEdit.PlainText
                text: view.controller.certificateDetails
                font.pixelSize: 11
                Accessible.name: qsTr("Certificate details")
            }
        }
        footer: DialogButtonBox {
            Button {
                objectName: "trustCertificate"
                text: qsTr("Trust This Certificate")
                DialogButtonBox.buttonRole: DialogButtonBox.AcceptRole
                Accessible.name: text
            }
            Button {
                text: qsTr("Cancel")
                DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
                Accessible.name: text
            }
        }
        onAccepted: view.controller.trustCertificate()
    }
}
