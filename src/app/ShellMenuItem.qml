// A menu item that shows the key of the shortcut that does the same thing, without owning that key.
// Its two texts are plain items placed by anchors: the menu bar's items are made with the window.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Tessarin

MenuItem {
    id: item

    property string shortcutText

    contentItem: Item {
        implicitWidth: title.implicitWidth + (keys.visible ? 24 + keys.implicitWidth : 0)
        implicitHeight: title.implicitHeight

        Text {
            id: title
            anchors.left: parent.left
            anchors.right: keys.visible ? keys.left : parent.right
            anchors.rightMargin: keys.visible ? 24 : 0
            anchors.verticalCenter: parent.verticalCenter
            text: item.text
            font: item.font
            elide: Text.ElideRight
            color: item.highlighted ? item.palette.highlightedText : item.palette.text
        }
        Text {
            id: keys
            objectName: "shortcutLabel"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            visible: item.shortcutText !== ""
            text: AppDelegate.keysText(item.shortcutText)
            font: item.font
            color: item.highlighted ? item.palette.highlightedText : item.palette.text
            opacity: 0.7
        }
    }
}
