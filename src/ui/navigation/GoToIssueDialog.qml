// "Go to Issue…" (Ctrl+K, Ctrl+L): a key, a link to an issue of this server, or words with Jira's
// suggestions; the issue opens in the pane, in the list or not.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Navigation

Dialog {
    id: dialog
    objectName: "goToIssueDialog"

    required property IssuePicker picker
    property bool busy: false
    property string error: ""
    signal goTo(string typed, int row)

    title: qsTr("Go to Issue")
    modal: true
    focus: true
    x: Math.round((parent.width - width) / 2)
    y: Math.round(parent.height / 8)
    padding: 16

    function go() {
        dialog.goTo(field.text, field.row);
    }

    onOpened: {
        field.reset();
        field.forceActiveFocus();
    }

    contentItem: ColumnLayout {
        spacing: 8
        IssueSearchField {
            id: field
            Layout.fillWidth: true
            picker: dialog.picker
            focus: true
            placeholderText: qsTr("Issue key, link or words")
            accessibleName: qsTr("Issue to open")
            onAccepted: dialog.go()
        }
        Label {
            objectName: "goToError"
            Layout.fillWidth: true
            Layout.maximumWidth: field.implicitWidth
            visible: dialog.error !== ""
            text: dialog.error
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
            objectName: "goToOpen"
            text: qsTr("Open")
            enabled: !dialog.busy
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: dialog.go()
            Accessible.onPressAction: dialog.go()
        }
        Button {
            text: qsTr("Cancel")
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
            onClicked: dialog.close()
            Accessible.onPressAction: dialog.close()
        }
    }
}
