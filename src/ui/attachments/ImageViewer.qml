// A picture attached to the issue, large, over the window: Left and Right move to the issue's other
// pictures, Escape closes.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Attachments

Popup {
    id: viewer

    required property IssueAttachments attachments
    property int row: -1

    readonly property string fileName: viewer.attachments.fileNameAt(viewer.row)

    function step(by: int) {
        const next = viewer.attachments.nextImage(viewer.row, by);
        if (next >= 0)
            viewer.row = next;
    }

    objectName: "imageViewer"
    x: 0
    y: 0
    width: parent ? parent.width : 0
    height: parent ? parent.height : 0
    modal: true
    focus: true
    padding: 16
    closePolicy: Popup.CloseOnEscape
    Component.onCompleted: open()

    background: Rectangle { color: Qt.rgba(0, 0, 0, 0.88) }

    contentItem: FocusScope {
        focus: true
        Keys.onLeftPressed: viewer.step(-1)
        Keys.onRightPressed: viewer.step(1)

        ColumnLayout {
            anchors.fill: parent
            spacing: 10
            RowLayout {
                Layout.fillWidth: true
                Text {
                    objectName: "imageTitle"
                    Layout.fillWidth: true
                    text: viewer.attachments.imageCount > 1
                          ? qsTr("%1 (%2 of %3)").arg(viewer.fileName)
                                .arg(viewer.attachments.imagePosition(viewer.row)).arg(viewer.attachments.imageCount)
                          : viewer.fileName
                    textFormat: Text.PlainText
                    elide: Text.ElideMiddle
                    color: "white"
                    font.pixelSize: 14
                }
                Button {
                    text: qsTr("Previous")
                    visible: viewer.attachments.imageCount > 1
                    onClicked: viewer.step(-1)
                    Accessible.onPressAction: viewer.step(-1)
                }
                Button {
                    text: qsTr("Next")
                    visible: viewer.attachments.imageCount > 1
                    onClicked: viewer.step(1)
                    Accessible.onPressAction: viewer.step(1)
                }
                Button {
                    text: qsTr("Open")
                    onClicked: viewer.attachments.open(viewer.row)
                    Accessible.onPressAction: viewer.attachments.open(viewer.row)
                }
                Button {
                    objectName: "closeImage"
                    text: qsTr("Close")
                    onClicked: viewer.close()
                    Accessible.onPressAction: viewer.close()
                }
            }
            Item {
                Layout.fillWidth: true
                Layout.fillHeight: true
                Image {
                    id: picture
                    objectName: "largeImage"
                    anchors.fill: parent
                    source: viewer.attachments.contentAt(viewer.row)
                    fillMode: Image.PreserveAspectFit
                    asynchronous: true
                    Accessible.role: Accessible.Graphic
                    Accessible.name: viewer.fileName
                }
                BusyIndicator {
                    anchors.centerIn: parent
                    running: picture.status === Image.Loading
                    visible: running
                }
                Text {
                    anchors.centerIn: parent
                    visible: picture.status === Image.Error
                    text: qsTr("The picture could not be loaded.")
                    color: "white"
                }
            }
        }
    }
}
