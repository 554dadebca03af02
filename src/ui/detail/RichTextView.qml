// Read-only text that may be the server's rendered HTML: selectable, links open in the browser.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Tessarin.Detail

TextEdit {
    id: view

    property bool isRich: false
    property TicketDetail detail

    readOnly: true
    selectByMouse: true
    wrapMode: TextEdit.Wrap
    textFormat: isRich ? TextEdit.RichText : TextEdit.PlainText
    color: palette.text
    selectionColor: palette.highlight
    selectedTextColor: palette.highlightedText
    onLinkActivated: link => view.detail.openLink(link)
    Accessible.role: Accessible.StaticText
    Accessible.name: getText(0, length)

    HoverHandler {
        enabled: view.hoveredLink.length > 0
        cursorShape: Qt.PointingHandCursor
    }
}
