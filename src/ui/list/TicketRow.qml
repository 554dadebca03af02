// One issue in the sidebar list: key, priority flag and update time; summary; type, project and status.
// Plain items placed by anchors: the list makes one per row that scrolls into view, and a control or a
// layout here would cost several times as much for each.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.impl
import Tessarin.Core
import Tessarin.Common

Item {
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
    // The list's colours, read once by the list rather than by a palette in every row.
    property color textColor: "black"
    property color highlight: "#308cc6"

    signal clicked()
    // A right click, at that point of the row.
    signal contextMenuRequested(point position)

    implicitHeight: keyText.height + summaryText.height + pill.height + 24

    Accessible.role: Accessible.ListItem
    Accessible.name: key + " " + summary
    Accessible.selectable: true
    Accessible.selected: selected
    Accessible.onPressAction: row.clicked()

    // A tint rather than the solid highlight, so the secondary texts and the pill stay readable.
    Rectangle {
        anchors.fill: parent
        radius: 4
        color: row.selected ? Qt.rgba(row.highlight.r, row.highlight.g, row.highlight.b, 0.22)
                            : pointer.containsMouse ? Qt.rgba(row.highlight.r, row.highlight.g, row.highlight.b, 0.08)
                                                    : "transparent"
    }

    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: mouse => {
            if (mouse.button === Qt.RightButton)
                row.contextMenuRequested(Qt.point(mouse.x, mouse.y));
            else
                row.clicked();
        }
    }

    Text {
        id: keyText
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.leftMargin: 12
        anchors.topMargin: 8
        text: row.key
        textFormat: Text.PlainText
        font.pixelSize: 11
        font.bold: true
        font.family: "monospace"
        color: Theme.secondary
    }
    IconImage {
        objectName: "priorityFlag"
        anchors.left: keyText.right
        anchors.leftMargin: 6
        anchors.verticalCenter: keyText.verticalCenter
        visible: row.hasPriority
        Accessible.ignored: !visible
        name: "flag"
        sourceSize.width: 9; sourceSize.height: 9
        color: { Theme.isDark; return Theme.priorityColor(row.priorityName); }
        Accessible.name: qsTr("Priority %1").arg(row.priorityName)
    }
    Text {
        anchors.right: parent.right
        anchors.rightMargin: 12
        anchors.baseline: keyText.baseline
        text: Theme.relativeTimeString(row.updated, Clock.now)
        textFormat: Text.PlainText
        font.pixelSize: 11
        color: Theme.secondary
    }

    Text {
        id: summaryText
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: keyText.bottom
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 4
        text: row.summary
        textFormat: Text.PlainText
        font.pixelSize: 13
        font.weight: Font.Medium
        color: row.textColor
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
    }

    Text {
        id: origin
        anchors.left: parent.left
        anchors.leftMargin: 12
        anchors.verticalCenter: pill.verticalCenter
        width: Math.min(implicitWidth, row.width - pill.width - 28)
        //: A row's issue type and project, e.g. "Bug · Platform Services".
        text: qsTr("%1 \u00B7 %2").arg(row.issueType).arg(row.projectName)
        textFormat: Text.PlainText
        font.pixelSize: 11
        color: Theme.secondary
        elide: Text.ElideRight
    }
    StatusPill {
        id: pill
        anchors.left: origin.right
        anchors.leftMargin: 4
        anchors.top: summaryText.bottom
        anchors.topMargin: 4
        statusName: row.statusName
        categoryKey: row.statusCategory
    }
}
