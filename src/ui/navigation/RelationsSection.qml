// An issue's parent, sub-tasks and links, each link under Jira's words for its direction ("blocks", "is
// blocked by"); "Link Issue…" adds one.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Common
import Tessarin.Navigation

ColumnLayout {
    id: section
    objectName: "relations"

    required property IssueRelations relations
    signal openIssue(string key)
    signal linkIssue()

    spacing: 4

    RowLayout {
        Layout.fillWidth: true
        Label {
            text: qsTr("Related Issues")
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: Theme.secondary
            Accessible.role: Accessible.Heading
        }
        Item { Layout.fillWidth: true }
        ActionText {
            objectName: "linkIssue"
            text: qsTr("Link Issue…")
            accessibleName: qsTr("Link Issue")
            onTriggered: section.linkIssue()
        }
    }
    Label {
        visible: section.relations.isEmpty
        Accessible.ignored: !visible
        text: qsTr("No parent, sub-tasks or links.")
        color: Theme.secondary
    }

    Label {
        visible: section.relations.parentIssue.key !== undefined
        Accessible.ignored: !visible
        text: qsTr("Parent")
        font.pixelSize: 11
        color: Theme.secondary
    }
    // Made only for a sub-task: a hidden row would still be read out.
    Repeater {
        model: section.relations.parentIssue.key !== undefined ? [section.relations.parentIssue] : []
        delegate: RelationRow {
            required property var modelData
            objectName: "parentIssue"
            Layout.fillWidth: true
            key: modelData.key
            summary: modelData.summary
            statusName: modelData.statusName
            statusCategory: modelData.statusCategory
            onOpen: section.openIssue(key)
        }
    }

    Label {
        visible: section.relations.subtasks.length > 0
        Accessible.ignored: !visible
        text: qsTr("Sub-tasks")
        font.pixelSize: 11
        color: Theme.secondary
    }
    Repeater {
        model: section.relations.subtasks
        delegate: RelationRow {
            required property var modelData
            objectName: "subtask"
            Layout.fillWidth: true
            key: modelData.key
            summary: modelData.summary
            statusName: modelData.statusName
            statusCategory: modelData.statusCategory
            onOpen: section.openIssue(key)
        }
    }

    Repeater {
        model: section.relations.linkGroups
        delegate: ColumnLayout {
            id: group
            required property var modelData
            Layout.fillWidth: true
            spacing: 0
            Label {
                objectName: "linkPhrase"
                text: group.modelData.phrase // Jira's words for the link's direction
                textFormat: Text.PlainText
                font.pixelSize: 11
                color: Theme.secondary
            }
            Repeater {
                model: group.modelData.issues
                delegate: RelationRow {
                    required property var modelData
                    objectName: "linkedIssue"
                    Layout.fillWidth: true
                    key: modelData.key
                    summary: modelData.summary
                    statusName: modelData.statusName
                    statusCategory: modelData.statusCategory
                    linkId: modelData.linkId
                    removing: section.relations.removingLinkId === linkId
                    onOpen: section.openIssue(key)
                    onRemove: section.relations.removeLink(linkId)
                }
            }
        }
    }

    Label {
        objectName: "removeLinkError"
        Layout.fillWidth: true
        visible: section.relations.removeError !== ""
        text: section.relations.removeError
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        color: Theme.red
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
        Accessible.ignored: !visible
    }
}
