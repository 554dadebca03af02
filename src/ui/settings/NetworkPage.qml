// The settings window's Network page: how Jira is reached through the company's network, its
// certificate authorities, the client certificate, the proxy. Every field is written to the settings as
// it is left; a setting that cannot be used is said at the bottom at once, in the words requests would
// fail with.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Settings

Item {
    id: window

    required property SettingsController controller

    implicitHeight: rows.implicitHeight

    readonly property bool explicitProxy: AppSettings.proxyMode === AppSettings.Http
                                          || AppSettings.proxyMode === AppSettings.Socks5

    readonly property string proxyFieldHelp: qsTr("Used for an HTTP or SOCKS5 proxy chosen above.")

    // One file chooser for the three file fields; it remembers which one asked.
    property TextField choosingFor: null
    function choose(field, title, filters) {
        choosingFor = field
        fileDialog.title = title
        fileDialog.nameFilters = filters
        fileDialog.open()
    }
    FileDialog {
        id: fileDialog
        objectName: "fileDialog"
        onAccepted: {
            const path = decodeURIComponent(selectedFile.toString().replace(/^file:\/\//, ""))
            window.choosingFor.text = path
            window.choosingFor.editingFinished()
        }
    }

    component FileRow: SettingRow {
        id: fileRow
        property alias field: pathField
        property string dialogTitle
        property string chooseName
        property var filters: [qsTr("All files (*)")]
        property string value
        signal chosen(string path)

        SettingField {
            id: pathField
            Layout.preferredWidth: 190
            Layout.alignment: Qt.AlignTop
            text: fileRow.value
            placeholderText: qsTr("None")
            onEditingFinished: if (text !== fileRow.value) fileRow.chosen(text.trim())
            Accessible.name: fileRow.title
            help: fileRow.subtitle
        }
        Button {
            Layout.alignment: Qt.AlignTop
            text: qsTr("Choose…")
            Accessible.name: fileRow.chooseName
            Accessible.description: fileRow.subtitle
            onClicked: window.choose(pathField, fileRow.dialogTitle, fileRow.filters)
        }
    }

    ColumnLayout {
        id: rows
        anchors.fill: parent
        spacing: 8

        Label {
            text: qsTr("Certificates")
            font.pixelSize: 15
            font.bold: true
        }
        FileRow {
            objectName: "caRow"
            title: qsTr("CA certificates")
            chooseName: qsTr("Choose the CA certificates file")
            subtitle: qsTr("Your company's certificate authorities (PEM), trusted besides the system's.")
            dialogTitle: qsTr("CA Certificates")
            filters: [qsTr("PEM certificates (*.pem *.crt *.cer)"), qsTr("All files (*)")]
            value: AppSettings.caCertificatesFile
            onChosen: path => AppSettings.caCertificatesFile = path
        }
        FileRow {
            objectName: "clientCertificateRow"
            title: qsTr("Client certificate")
            chooseName: qsTr("Choose the client certificate file")
            subtitle: qsTr("For servers that ask for one: a .p12 file, or a PEM certificate.")
            dialogTitle: qsTr("Client Certificate")
            filters: [qsTr("Certificates (*.p12 *.pfx *.pem *.crt)"), qsTr("All files (*)")]
            value: AppSettings.clientCertificateFile
            onChosen: path => AppSettings.clientCertificateFile = path
        }
        FileRow {
            objectName: "clientKeyRow"
            title: qsTr("Client key")
            chooseName: qsTr("Choose the client key file")
            subtitle: qsTr("The PEM certificate's private key, if it is in a file of its own.")
            dialogTitle: qsTr("Client Key")
            filters: [qsTr("PEM keys (*.pem *.key)"), qsTr("All files (*)")]
            value: AppSettings.clientKeyFile
            enabled: AppSettings.clientCertificateFile !== ""
            onChosen: path => AppSettings.clientKeyFile = path
        }
        SettingRow {
            title: qsTr("Passphrase")
            subtitle: qsTr("Kept in the system keyring.")
            enabled: AppSettings.clientCertificateFile !== ""
            TextField {
                objectName: "passphraseField"
                Layout.preferredWidth: 260
                Layout.alignment: Qt.AlignTop
                echoMode: TextInput.Password
                placeholderText: qsTr("Passphrase")
                inputMethodHints: Qt.ImhSensitiveData | Qt.ImhNoPredictiveText | Qt.ImhNoAutoUppercase
                text: AppSettings.clientCertificatePassphrase
                onTextEdited: AppSettings.clientCertificatePassphrase = text
                Accessible.name: qsTr("Passphrase")
            }
        }

        Label {
            Layout.topMargin: 6
            text: qsTr("Proxy")
            font.pixelSize: 15
            font.bold: true
        }
        SettingRow {
            id: proxyRow
            title: qsTr("Proxy")
            subtitle: qsTr("The system's setting reads http_proxy, https_proxy and no_proxy.")
            ComboBox {
                objectName: "proxyPicker"
                Layout.preferredWidth: 260
                Layout.alignment: Qt.AlignTop
                model: [qsTr("System setting"), qsTr("No proxy"), qsTr("HTTP proxy"), qsTr("SOCKS5 proxy")]
                currentIndex: AppSettings.proxyMode
                onActivated: index => AppSettings.proxyMode = index
                Accessible.name: qsTr("Proxy")
                Accessible.description: proxyRow.subtitle
            }
        }
        RowLayout {
            Layout.fillWidth: true
            enabled: window.explicitProxy
            SettingField {
                objectName: "proxyHostField"
                Layout.fillWidth: true
                placeholderText: qsTr("Host")
                text: AppSettings.proxyHost
                onEditingFinished: AppSettings.proxyHost = text
                Accessible.name: qsTr("Proxy host")
                help: window.proxyFieldHelp
            }
            SettingField {
                objectName: "proxyPortField"
                Layout.preferredWidth: 70
                placeholderText: qsTr("Port")
                validator: IntValidator { bottom: 1; top: 65535 }
                text: AppSettings.proxyPort > 0 ? AppSettings.proxyPort : ""
                onEditingFinished: AppSettings.proxyPort = parseInt(text) || 0
                Accessible.name: qsTr("Proxy port")
                help: window.proxyFieldHelp
            }
        }
        RowLayout {
            Layout.fillWidth: true
            enabled: window.explicitProxy
            SettingField {
                objectName: "proxyUserField"
                Layout.fillWidth: true
                placeholderText: qsTr("User (if it asks)")
                text: AppSettings.proxyUser
                onEditingFinished: AppSettings.proxyUser = text
                Accessible.name: qsTr("Proxy user")
                help: window.proxyFieldHelp
            }
            TextField {
                objectName: "proxyPasswordField"
                Layout.fillWidth: true
                echoMode: TextInput.Password
                placeholderText: qsTr("Password")
                inputMethodHints: Qt.ImhSensitiveData | Qt.ImhNoPredictiveText | Qt.ImhNoAutoUppercase
                text: AppSettings.proxyPassword
                onTextEdited: AppSettings.proxyPassword = text
                Accessible.name: qsTr("Proxy password")
            }
        }

        Label {
            objectName: "networkProblem"
            Layout.fillWidth: true
            visible: text !== ""
            Accessible.ignored: !visible
            text: window.controller.networkProblem
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.pixelSize: 12
            color: Theme.red
        }
        Item {
            Layout.fillHeight: true
        }
    }
}
