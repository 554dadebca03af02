// What a column shows in place of its content: an icon, then the items given to it (words, a spinner,
// what can be done), centred across and down the whole area it is given. Words given as StateText wrap
// within that width, so a narrow column or a longer language keeps them inside it, each line centred.
// The icon is drawn only when the icon theme has it: a missing one, tinted, would fill its box.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.impl
import QtQuick.Layouts
import Tessarin.Core

Item {
    id: state

    property string iconName
    property int iconSize: 28
    property color iconColor: Theme.secondary
    // The words and buttons, under the icon.
    default property alias parts: column.data

    ColumnLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 24
        anchors.rightMargin: 24
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8

        IconImage {
            objectName: "stateIcon"
            readonly property bool drawn: Theme.hasIcon(state.iconName)
            visible: drawn
            Layout.alignment: Qt.AlignHCenter
            name: drawn ? state.iconName : ""
            sourceSize.width: state.iconSize
            sourceSize.height: state.iconSize
            color: state.iconColor
        }
    }
}
