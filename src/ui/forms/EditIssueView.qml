// The edit of an issue's fields, over its pane: the fields Jira lets the user edit, filled with what the
// issue holds, Jira's messages under the fields they are about. When someone else changed a field being
// saved, both values are shown and the user keeps theirs or takes the other. Ctrl+Enter (Enter in a
// one-line field) saves; Escape cancels, with a description being typed kept as a draft.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Common
import Tessarin.Core
import Tessarin.Forms

Dialog {
    id: dialog
    objectName: "editIssueForm"

    required property EditIssueForm form

    signal cancelled()

    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    anchors.centerIn: parent
    width: Math.min(parent.width - 32, 560)
    height: parent.height - 32
    padding: 16
    title: qsTr("Edit %1").arg(form.issueKey)

    onRejected: cancelled()

    Shortcut {
        sequences: ["Ctrl+Return", "Ctrl+Enter"]
        onActivated: dialog.form.save()
    }

    header: Label {
        text: dialog.title
        textFormat: Text.PlainText
        font.pixelSize: 16
        font.weight: Font.DemiBold
        padding: 16
        bottomPadding: 0
    }

    contentItem: ColumnLayout {
        spacing: 12

        Label {
            objectName: "editError"
            Layout.fillWidth: true
            visible: text.length > 0
            Accessible.ignored: !visible
            text: dialog.form.error
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: Theme.red
        }

        // Someone else's change to what is being saved: both values, and the choice.
        Rectangle {
            objectName: "editConflict"
            Layout.fillWidth: true
            visible: dialog.form.conflicts.length > 0
            implicitHeight: conflictColumn.implicitHeight + 16
            radius: 4
            color: Qt.rgba(Theme.orange.r, Theme.orange.g, Theme.orange.b, 0.12)
            border.color: Theme.orange

            ColumnLayout {
                id: conflictColumn
                anchors.fill: parent
                anchors.margins: 8
                spacing: 6
                Label {
                    Layout.fillWidth: true
                    wrapMode: Text.Wrap
                    font.weight: Font.DemiBold
                    text: qsTr("Someone changed this issue after you began editing.")
                }
                Repeater {
                    model: dialog.form.conflicts
                    delegate: Label {
                        required property string modelData
                        Layout.fillWidth: true
                        wrapMode: Text.Wrap
                        textFormat: Text.PlainText
                        text: modelData
                    }
                }
                RowLayout {
                    spacing: 8
                    Button {
                        objectName: "keepMine"
                        text: qsTr("Keep Mine")
                        Accessible.name: text
                        onClicked: dialog.form.keepMine()
                        Accessible.onPressAction: dialog.form.keepMine()
                    }
                    Button {
                        objectName: "takeTheirs"
                        text: qsTr("Take Theirs")
                        Accessible.name: text
                        onClicked: dialog.form.takeTheirs()
                        Accessible.onPressAction: dialog.form.takeTheirs()
                    }
                }
            }
        }

        Spinner {
            Layout.alignment: Qt.AlignHCenter
            visible: dialog.form.isLoading
        }

        ScrollView {
            id: scroller
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth

            ColumnLayout {
                width: scroller.availableWidth
                spacing: 12
                Repeater {
                    id: fields
                    model: dialog.form.fields
                    delegate: FieldEditor {
                        Layout.fillWidth: true
                        onSendRequested: dialog.form.save()
                    }
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
            Button {
                objectName: "discardEdit"
                text: qsTr("Discard Changes")
                Accessible.name: text
                onClicked: dialog.form.discard()
                Accessible.onPressAction: dialog.form.discard()
            }
            Item { Layout.fillWidth: true }
            Spinner {
                Layout.preferredWidth: 20
                Layout.preferredHeight: 20
                visible: dialog.form.isSending
            }
            Button {
                objectName: "cancelEdit"
                text: qsTr("Cancel")
                Accessible.name: text
                onClicked: dialog.reject()
                Accessible.onPressAction: dialog.reject()
            }
            Button {
                objectName: "saveEdit"
                text: qsTr("Save")
                highlighted: true
                enabled: !dialog.form.isSending && !dialog.form.isLoading && dialog.form.conflicts.length === 0
                Accessible.name: text
                onClicked: dialog.form.save()
                Accessible.onPressAction: if (enabled) dialog.form.save()
            }
        }
    }
}
