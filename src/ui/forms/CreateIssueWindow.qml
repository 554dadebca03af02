// "New Issue…" and "New Sub-task…": project and issue type, then the create screen's fields, required ones
// marked and Jira's messages under the fields they are about. Ctrl+Enter (Enter in a one-line field)
// creates; Escape closes, with what was typed kept as a draft for next time.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Common
import Tessarin.Core
import Tessarin.Forms

ApplicationWindow {
    id: window
    objectName: "createIssueWindow"

    required property CreateIssueForm form

    title: form.title


    width: 560
    height: 620
    minimumWidth: 420
    minimumHeight: 360

    Shortcut {
        sequences: ["Escape", "Ctrl+W"]
        onActivated: window.close()
    }
    Shortcut {
        sequences: ["Ctrl+Return", "Ctrl+Enter"]
        onActivated: window.form.send()
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 12

        GridLayout {
            Layout.fillWidth: true
            visible: window.form.createdKey.length === 0
            columns: 2
            columnSpacing: 12
            rowSpacing: 8

            Label {
                text: qsTr("Project")
                visible: window.form.parentKey.length === 0
            }
            ComboBox {
                id: projectBox
                objectName: "projectBox"
                Layout.fillWidth: true
                visible: window.form.parentKey.length === 0
                // Typing a project's name or key finds it.
                editable: true
                model: window.form.projects
                currentIndex: window.form.project
                onActivated: index => window.form.project = index
                onAccepted: window.form.chooseTypedProject(editText)
                Accessible.name: qsTr("Project")
            }
            Label { text: qsTr("Issue type") }
            ComboBox {
                objectName: "issueTypeBox"
                Layout.fillWidth: true
                model: window.form.issueTypes
                currentIndex: window.form.issueType
                onActivated: index => window.form.issueType = index
                Accessible.name: qsTr("Issue type")
            }
        }

        Label {
            objectName: "createError"
            Layout.fillWidth: true
            visible: text.length > 0
            Accessible.ignored: !visible
            text: window.form.error
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: Theme.red
        }

        Spinner {
            Layout.alignment: Qt.AlignHCenter
            visible: window.form.isLoading
        }

        ScrollView {
            id: scroller
            Layout.fillWidth: true
            Layout.fillHeight: true
            visible: window.form.createdKey.length === 0
            contentWidth: availableWidth

            ColumnLayout {
                width: scroller.availableWidth
                spacing: 12
                Repeater {
                    model: window.form.fields
                    delegate: FieldEditor {
                        Layout.fillWidth: true
                        onOpenInJiraRequested: Qt.openUrlExternally(window.form.jiraPage())
                        onSendRequested: window.form.send()
                    }
                }
            }
        }

        // Once Jira has it: its key, and the way to it.
        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            visible: window.form.createdKey.length > 0
            spacing: 8
            Item { Layout.fillHeight: true }
            Label {
                objectName: "createdMessage"
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: qsTr("%1 was created.").arg(window.form.createdKey)
                textFormat: Text.PlainText
                font.pixelSize: 15
                font.weight: Font.DemiBold
            }
            Button {
                objectName: "openCreated"
                Layout.alignment: Qt.AlignHCenter
                text: qsTr("Open in Jira")
                Accessible.name: qsTr("Open %1 in Jira").arg(window.form.createdKey)
                onClicked: Qt.openUrlExternally(window.form.createdPage())
                Accessible.onPressAction: Qt.openUrlExternally(window.form.createdPage())
            }
            Item { Layout.fillHeight: true }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            Button {
                objectName: "discardDraft"
                visible: window.form.createdKey.length === 0
                text: qsTr("Discard Draft")
                Accessible.name: text
                onClicked: window.form.discard()
                Accessible.onPressAction: window.form.discard()
            }
            Button {
                objectName: "finishInJira"
                visible: window.form.needsJira && window.form.createdKey.length === 0
                text: qsTr("Finish in Jira…")
                Accessible.name: text
                onClicked: Qt.openUrlExternally(window.form.jiraPage())
                Accessible.onPressAction: Qt.openUrlExternally(window.form.jiraPage())
            }
            Item { Layout.fillWidth: true }
            Spinner {
                Layout.preferredWidth: 20
                Layout.preferredHeight: 20
                visible: window.form.isSending
            }
            Button {
                objectName: "closeCreate"
                text: window.form.createdKey.length > 0 ? qsTr("Close") : qsTr("Cancel")
                Accessible.name: text
                onClicked: window.close()
                Accessible.onPressAction: window.close()
            }
            Button {
                objectName: "createIssue"
                visible: window.form.createdKey.length === 0
                text: qsTr("Create")
                highlighted: true
                enabled: window.form.canSend
                Accessible.name: text
                onClicked: window.form.send()
                Accessible.onPressAction: if (enabled) window.form.send()
            }
        }
    }
}
