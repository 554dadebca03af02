// The summary edited where the pane shows it: Enter saves, Escape leaves it as it was.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Tessarin.Detail

TextField {
    id: editor
    objectName: "summaryEditor"

    required property TicketDetail detail

    text: detail.editSummary
    font.pixelSize: 20
    font.weight: Font.DemiBold
    Component.onCompleted: forceActiveFocus()
    onAccepted: detail.saveSummary(text)
    Keys.onEscapePressed: detail.closeEdit()
    Accessible.name: qsTr("Summary")
}
