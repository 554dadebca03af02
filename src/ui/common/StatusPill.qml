// A status name in a capsule tinted by its status category.
pragma ComponentBehavior: Bound
import QtQuick
import Tessarin.Core

Rectangle {
    id: pill

    required property string statusName
    required property string categoryKey
    readonly property color tint: {
        Theme.isDark; // follow a switch between light and dark
        return Theme.statusColor(pill.categoryKey);
    }

    implicitWidth: label.implicitWidth + 16
    implicitHeight: label.implicitHeight + 6
    radius: Math.min(width, height) / 2
    antialiasing: true
    color: Qt.rgba(tint.r, tint.g, tint.b, 0.18)
    Accessible.role: Accessible.StaticText
    Accessible.name: statusName

    Text {
        id: label
        anchors.centerIn: parent
        text: pill.statusName
        textFormat: Text.PlainText
        font.pixelSize: 11
        font.weight: Font.DemiBold
        color: pill.tint
    }
}
