// One related issue: key, summary and status; a click, Enter or Space opens it in the pane. A link's row
// can be removed.
pragma ComponentBehavior: Bound
import QtQuick
import Tessarin.Core
import Tessarin.Common

FocusScope {
    id: row

    required property string key
    required property string summary
    required property string statusName
    required property string statusCategory
    property string linkId: ""
    property bool removing: false
    signal open()
    signal remove()

    implicitHeight: 28
    activeFocusOnTab: visible
    Accessible.ignored: !visible
    Accessible.role: Accessible.Link
    Accessible.name: qsTr("%1: %2, %3", "an issue's key, summary and status").arg(row.key).arg(row.summary).arg(row.statusName)
    Accessible.onPressAction: row.open()
    Keys.onReturnPressed: row.open()
    Keys.onSpacePressed: row.open()

    Rectangle {
        anchors.fill: parent
        radius: 3
        color: row.activeFocus ? Qt.rgba(Theme.accent.r, Theme.accent.g, Theme.accent.b, 0.16)
               : hover.hovered ? Qt.rgba(0.5, 0.5, 0.5, 0.1) : "transparent"
    }
    HoverHandler {
        id: hover
        cursorShape: Qt.PointingHandCursor
    }
    TapHandler {
        onTapped: row.open()
    }
    Text {
        id: keyText
        anchors.left: parent.left
        anchors.leftMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        text: row.key
        textFormat: Text.PlainText
        font.family: "monospace"
        font.pixelSize: 12
        font.bold: true
        color: Theme.accent
    }
    Text {
        anchors.left: keyText.right
        anchors.leftMargin: 10
        anchors.right: pill.left
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        text: row.summary
        textFormat: Text.PlainText
        elide: Text.ElideRight
        color: keyText.palette.text
    }
    StatusPill {
        id: pill
        anchors.right: removeAction.visible ? removeAction.left : parent.right
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        statusName: row.statusName
        categoryKey: row.statusCategory
    }
    ActionText {
        id: removeAction
        anchors.right: parent.right
        anchors.rightMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        visible: row.linkId !== ""
        enabled: !row.removing
        text: row.removing ? qsTr("Removing…") : qsTr("Remove")
        accessibleName: qsTr("Remove the link to %1").arg(row.key)
        onTriggered: row.remove()
    }
}
