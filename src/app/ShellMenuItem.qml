// A menu item that shows the key of the shortcut that does the same thing, without owning that key.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

MenuItem {
    id: item

    property string shortcutText

    contentItem: RowLayout {
        spacing: 24

        Label {
            Layout.fillWidth: true
            text: item.text
            font: item.font
            color: item.highlighted ? item.palette.highlightedText : item.palette.text
        }
        Label {
            objectName: "shortcutLabel"
            visible: item.shortcutText !== ""
            text: item.shortcutText
            font: item.font
            color: item.highlighted ? item.palette.highlightedText : item.palette.text
            opacity: 0.7
        }
    }
}
