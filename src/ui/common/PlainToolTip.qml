// A tool tip that shows its text as it is, never as markup: it holds what servers send.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls

ToolTip {
    id: tip

    contentItem: Text {
        text: tip.text
        textFormat: Text.PlainText
        font: tip.font
        color: tip.palette.toolTipText
        wrapMode: Text.Wrap
    }
}
