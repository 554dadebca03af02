// The form a transition with a screen asks for: one editor per field, required ones marked, Jira's
// messages under the fields they are about. Enter sends (Ctrl+Enter in a multi-line editor), Escape
// cancels; what was entered stays until the transition is done or the form is cancelled.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Common
import Tessarin.Core
import Tessarin.Forms

Dialog {
    id: dialog
    objectName: "transitionForm"

    required property TransitionForm form

    // What the issue's pane does about them: the form is its, and so is the issue's page in Jira.
    signal cancelled()
    signal openInJiraRequested()

    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    anchors.centerIn: parent
    width: Math.min(parent.width - 32, 520)
    height: Math.min(implicitHeight, parent.height - 32)
    padding: 16
    title: form.title // the dialog's accessible name; the header below shows it

    onRejected: cancelled()
    onOpened: if (fields.count > 0) fields.itemAt(0).focusEditor()

    header: Label {
        text: dialog.form.title
        textFormat: Text.PlainText
        font.pixelSize: 16
        font.weight: Font.DemiBold
        padding: 16
        bottomPadding: 0
    }

    contentItem: ScrollView {
        id: scroller
        contentWidth: availableWidth
        implicitHeight: fieldColumn.implicitHeight

        ColumnLayout {
            id: fieldColumn
            width: scroller.availableWidth
            spacing: 12

            Keys.onReturnPressed: dialog.form.send()
            Keys.onEnterPressed: dialog.form.send()

            Label {
                objectName: "formError"
                visible: dialog.form.error.length > 0
                Accessible.ignored: !visible
                Layout.fillWidth: true
                text: dialog.form.error
                textFormat: Text.PlainText
                color: Theme.red
                wrapMode: Text.Wrap
            }
            Label {
                visible: dialog.form.needsJira
                Accessible.ignored: !visible
                Layout.fillWidth: true
                text: qsTr("This transition needs a field that only Jira can set.")
                color: Theme.orange
                wrapMode: Text.Wrap
            }

            Repeater {
                id: fields
                model: dialog.form.fields
                delegate: FieldEditor {
                    Layout.fillWidth: true
                    onOpenInJiraRequested: dialog.openInJiraRequested()
                    onSendRequested: dialog.form.send()
                }
            }
        }
    }

    footer: Item {
        implicitHeight: buttons.implicitHeight + 16
        RowLayout {
            id: buttons
            anchors.fill: parent
            anchors.leftMargin: 16
            anchors.rightMargin: 16
            anchors.bottomMargin: 16
            spacing: 8
            Item { Layout.fillWidth: true }
            Spinner {
                Layout.preferredWidth: 20
                Layout.preferredHeight: 20
                visible: dialog.form.isSending
            }
            Button {
                objectName: "cancelForm"
                text: qsTr("Cancel")
                Accessible.name: text
                onClicked: dialog.reject()
                Accessible.onPressAction: dialog.reject()
            }
            Button {
                objectName: "sendForm"
                text: dialog.form.title
                highlighted: true
                enabled: !dialog.form.isSending && !dialog.form.needsJira
                Accessible.name: text
                onClicked: dialog.form.send()
                Accessible.onPressAction: if (enabled) dialog.form.send()
            }
        }
    }
}
