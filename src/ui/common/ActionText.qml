// A link-like action in a row: a word to click, a button to a screen reader, reachable by Tab. Lighter
// than a Button, for rows that may be many.
pragma ComponentBehavior: Bound
import QtQuick
import Tessarin.Core

Text {
    id: action

    property string accessibleName: text
    signal triggered()

    activeFocusOnTab: visible
    textFormat: Text.PlainText
    font.pixelSize: 12
    font.underline: hover.hovered || action.activeFocus
    color: Theme.accent
    Accessible.role: Accessible.Button
    Accessible.name: action.accessibleName
    Accessible.ignored: !visible
    Accessible.onPressAction: action.triggered()
    Keys.onReturnPressed: action.triggered()
    Keys.onSpacePressed: action.triggered()

    // Handlers, not a mouse area: rows of these stay light.
    TapHandler {
        onTapped: action.triggered()
    }
    HoverHandler {
        id: hover
        cursorShape: Qt.PointingHandCursor
    }
}
