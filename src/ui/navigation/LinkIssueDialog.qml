// "Link Issue…": how this issue relates to another, in the words of Jira's link types, and which other.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Navigation

Dialog {
    id: dialog
    objectName: "linkIssueDialog"

    required property IssueLinkForm form

    title: qsTr("Link Issue")
    modal: true
    focus: true
    x: Math.round((parent.width - width) / 2)
    y: Math.round(parent.height / 8)
    padding: 16
    closePolicy: Popup.CloseOnEscape

    function send() {
        dialog.form.send(phrase.currentIndex, field.text, field.row);
    }

    onOpened: field.forceActiveFocus()

    contentItem: ColumnLayout {
        spacing: 8
        RowLayout {
            spacing: 8
            Label {
                text: dialog.form.issueKey
                textFormat: Text.PlainText
                font.family: "monospace"
                font.bold: true
            }
            ComboBox {
                id: phrase
                objectName: "linkPhrase"
                Layout.fillWidth: true
                model: dialog.form.phrases
                enabled: !dialog.form.isLoadingTypes
                displayText: dialog.form.isLoadingTypes ? qsTr("Loading…") : currentText
                Accessible.name: qsTr("How this issue relates to the other")
            }
        }
        IssueSearchField {
            id: field
            Layout.fillWidth: true
            picker: dialog.form.picker
            placeholderText: qsTr("Other issue: key, link or words")
            accessibleName: qsTr("Other issue")
            onAccepted: dialog.send()
        }
        Label {
            objectName: "linkError"
            Layout.fillWidth: true
            Layout.maximumWidth: field.implicitWidth
            visible: dialog.form.error !== ""
            text: dialog.form.error
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: Theme.red
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
            Accessible.ignored: !visible
        }
    }

    footer: DialogButtonBox {
        Button {
            objectName: "linkSend"
            text: dialog.form.isSending ? qsTr("Linking…") : qsTr("Link")
            enabled: !dialog.form.isSending && !dialog.form.isLoadingTypes
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: dialog.send()
            Accessible.onPressAction: dialog.send()
        }
        Button {
            text: qsTr("Cancel")
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
            onClicked: dialog.close()
            Accessible.onPressAction: dialog.close()
        }
    }
}
