// One issue in the sidebar list: key, priority flag and update time; summary; type, project and status.
import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Common

ItemDelegate {
    id: row

    required property int index
    required property string issueId
    required property string key
    required property string summary
    required property string statusName
    required property string statusCategory
    required property bool hasPriority
    required property string priorityName
    required property string issueType
    required property string projectName
    required property string updated
    property bool selected: false

    // A right click, at that point of the row.
    signal contextMenuRequested(point position)

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: eventPoint => row.contextMenuRequested(eventPoint.position)
    }

    topPadding: 4
    bottomPadding: 4
    Accessible.name: key + " " + summary

    // A tint rather than the solid highlight, so the secondary texts and the pill stay readable.
    background: Rectangle {
        color: row.selected ? Qt.rgba(row.palette.highlight.r, row.palette.highlight.g, row.palette.highlight.b, 0.22)
                            : row.hovered ? Qt.rgba(row.palette.highlight.r, row.palette.highlight.g, row.palette.highlight.b, 0.08)
                                          : "transparent"
        radius: 4
    }

    contentItem: ColumnLayout {
        spacing: 4

        RowLayout {
            spacing: 6
            Label {
                text: row.key
                textFormat: Text.PlainText
                font.pixelSize: 11
                font.bold: true
                font.family: "monospace"
                color: Theme.secondary
            }
            IconImage {
                objectName: "priorityFlag"
                visible: row.hasPriority
                Accessible.ignored: !visible
                name: "flag"
                sourceSize: Qt.size(9, 9)
                color: { Theme.isDark; return Theme.priorityColor(row.priorityName); }
                Accessible.name: "Priority " + row.priorityName
            }
            Item { Layout.fillWidth: true }
            Label {
                text: Theme.relativeTimeString(row.updated, Clock.now)
                textFormat: Text.PlainText
                font.pixelSize: 11
                color: Theme.secondary
            }
        }

        Label {
            Layout.fillWidth: true
            text: row.summary
            textFormat: Text.PlainText
            font.pixelSize: 13
            font.weight: Font.Medium
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
        }

        RowLayout {
            spacing: 4
            Label { text: row.issueType; textFormat: Text.PlainText; font.pixelSize: 11; color: Theme.secondary }
            Label { text: "\u00B7"; font.pixelSize: 11; color: Theme.secondary }
            Label { text: row.projectName; textFormat: Text.PlainText; font.pixelSize: 11; color: Theme.secondary }
            StatusPill { statusName: row.statusName; categoryKey: row.statusCategory }
        }
    }
}
