// One row of the settings window: title and help on the left, the control (the row's child) at the
// right-hand edge, and an optional warning line under both.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Common
import Tessarin.Core

ColumnLayout {
    id: row

    required property string title
    required property string subtitle
    property string warning
    property string warningDetail
    default property alias control: line.data

    Layout.fillWidth: true
    spacing: 4

    RowLayout {
        id: line
        Layout.fillWidth: true

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            spacing: 2

            Label {
                // The whole title, even if the control must give up a few pixels of its width for it.
                Layout.fillWidth: true
                Layout.minimumWidth: implicitWidth
                text: row.title
                textFormat: Text.PlainText
                font.pixelSize: 13
                font.weight: Font.DemiBold
            }
            Label {
                Layout.fillWidth: true
                text: row.subtitle
                font.pixelSize: 11
                color: Theme.secondary
                wrapMode: Text.Wrap
            }
        }
    }
    Label {
        objectName: "warningLine"
        Layout.fillWidth: true
        visible: row.warning !== ""
        Accessible.ignored: !visible
        text: row.warning
        textFormat: Text.PlainText
        font.pixelSize: 11
        color: Theme.orange
        elide: Text.ElideRight
        HoverHandler {
            id: warningHover
        }
        PlainToolTip {
            visible: row.warningDetail !== "" && warningHover.hovered
            text: row.warningDetail
        }
    }
}
