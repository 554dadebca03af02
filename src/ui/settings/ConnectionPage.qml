// The settings window's Connection page: the server, the token, trusting the server's certificate, how
// often to refresh, and the connection test. Each is written to the settings as soon as it changes.
import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl
import QtQuick.Layouts
import Tessarin.Common
import Tessarin.Core
import Tessarin.Settings

ColumnLayout {
    id: page

    required property SettingsController controller
    required property ServerProbe probe
    // Asks to open the certificate's dialog.
    signal checkCertificate()
    function focusURL() {
        urlField.forceActiveFocus()
    }

    spacing: 10

    SettingRow {
        id: urlRow
        objectName: "urlRow"
        title: qsTr("Server URL")
        subtitle: qsTr("Your Jira Server / Data Center base URL.")
        warning: page.controller.insecureURLWarning

        SettingField {
            id: urlField
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
            // A URL pasted from the browser keeps only Jira's own address.
            onEditingFinished: page.controller.takeURL(text)
            Accessible.name: qsTr("Server URL")
            help: urlRow.subtitle
        }
    }
    Label {
        objectName: "urlNote"
        Layout.fillWidth: true
        Layout.topMargin: -6
        visible: text !== ""
        Accessible.ignored: !visible
        text: page.controller.urlNote
        textFormat: Text.PlainText
        font.pixelSize: 11
        color: Theme.secondary
        wrapMode: Text.WrapAnywhere
    }

    SettingRow {
        objectName: "tokenRow"
        title: qsTr("Personal Access Token")
        subtitle: qsTr("Jira profile ▸ Personal Access Tokens.")
        warning: page.controller.keyringWarning
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
            text: page.controller.tokenInput
            onTextEdited: page.controller.tokenInput = text
            Accessible.name: qsTr("Personal Access Token")
        }
    }

    // Where this server makes tokens, once it has answered; or why it has none.
    Button {
        objectName: "createTokenButton"
        Layout.topMargin: -6
        visible: page.probe.knowsTokenPage
        Accessible.ignored: !visible
        flat: true
        leftPadding: 2
        rightPadding: 2
        font.pixelSize: 11
        text: qsTr("Create a Token in Jira…")
        Accessible.description: qsTr("Opens this server's page for personal access tokens in the browser.")
        onClicked: Qt.openUrlExternally(page.probe.tokenPage)
        Accessible.onPressAction: Qt.openUrlExternally(page.probe.tokenPage)
    }
    Label {
        objectName: "serverNote"
        Layout.fillWidth: true
        Layout.topMargin: -6
        visible: text !== ""
        Accessible.ignored: !visible
        text: page.probe.note
        textFormat: Text.PlainText
        font.pixelSize: 11
        color: Theme.orange
        wrapMode: Text.Wrap
    }

    SettingRow {
        id: certificateRow
        objectName: "certificateRow"
        title: qsTr("Trust this server's certificate")
        subtitle: page.controller.pinnedFingerprint.length > 0
                  ? qsTr("Trusted, and no other: SHA-256 %1").arg(page.controller.pinnedFingerprint)
                  : qsTr("For a certificate your company made itself: the one the next test sees is trusted, and no other.")

        Button {
            objectName: "forgetCertificate"
            Layout.alignment: Qt.AlignTop
            visible: page.controller.pinnedFingerprint.length > 0
            Accessible.ignored: !visible
            text: qsTr("Forget")
            Accessible.name: qsTr("Forget the trusted certificate")
            Accessible.description: qsTr("The next certificate this server shows is not trusted until you trust it.")
            onClicked: page.controller.forgetCertificate()
            Accessible.onPressAction: page.controller.forgetCertificate()
        }
        CheckBox {
            objectName: "trustToggle"
            Layout.alignment: Qt.AlignTop
            checked: AppSettings.trustSelfSigned
            onToggled: AppSettings.trustSelfSigned = checked
            Accessible.name: qsTr("Trust this server's certificate")
            Accessible.description: certificateRow.subtitle
        }
    }

    SettingRow {
        id: intervalRow
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
            model: page.controller.intervalTitles
            currentIndex: page.controller.intervalIndex
            displayText: currentIndex < 0 ? page.controller.customIntervalTitle : currentText
            onActivated: index => page.controller.intervalIndex = index
            Accessible.name: qsTr("Refresh interval")
            Accessible.description: intervalRow.subtitle
        }
    }

    Button {
        objectName: "testButton"
        Layout.preferredWidth: 140
        text: page.controller.isTesting ? "" : qsTr("Test Connection")
        enabled: page.controller.canTest
        onClicked: page.controller.testConnection()
        // Named while the test runs too, when the button shows only its spinner.
        Accessible.name: qsTr("Test Connection")
        Accessible.description: qsTr("Asks the server who the token belongs to.")

        Spinner {
            anchors.centerIn: parent
            width: 20
            height: 20
            visible: page.controller.isTesting
        }
    }

    // Under the button, as wide as the page: the user, the server and the token's expiry, or why not.
    RowLayout {
        objectName: "testResult"
        readonly property bool succeeded: page.controller.testResult === SettingsController.Success
        readonly property color tint: succeeded ? Theme.statusColor("done") : Theme.red

        Layout.fillWidth: true
        visible: page.controller.testResult !== SettingsController.None
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
            text: page.controller.testResultText
            textFormat: Text.PlainText // a server's error page is shown as the text it is
            font.pixelSize: 12
            color: parent.tint
            wrapMode: Text.Wrap
            maximumLineCount: 4
            elide: Text.ElideRight
        }
    }

    // A certificate the system does not trust: the user judges it, and may trust that one alone.
    Button {
        objectName: "checkCertificate"
        visible: page.controller.certificateDetails.length > 0
        Accessible.ignored: !visible
        text: qsTr("Check Certificate…")
        Accessible.name: qsTr("Check the server's certificate")
        Accessible.description: qsTr("Shows the certificate the server sent, to trust it or not.")
        onClicked: page.checkCertificate()
        Accessible.onPressAction: page.checkCertificate()
    }

    Item {
        Layout.fillHeight: true
    }
}
