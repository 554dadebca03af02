// An issue's attachments in the detail pane: newest first, pictures with their thumbnails. A click opens a
// file with the desktop's application, or a picture large in the window; files are attached through a
// file dialog, by dropping them on the pane or by pasting (Ctrl+V) an image or copied files.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl
import QtQuick.Layouts
import Tessarin.Common
import Tessarin.Core
import Tessarin.Attachments

ColumnLayout {
    id: section

    required property IssueAttachments attachments

    spacing: 6

    // Opens the large view of the picture in this row.
    function view(row: int) {
        dialogs.setSource("qrc:/Tessarin/Attachments/ImageViewer.qml",
                         { attachments: section.attachments, row: row, parent: Overlay.overlay });
    }
    function chooseFiles() {
        dialogs.setSource("qrc:/Tessarin/Attachments/AttachmentDialogs.qml",
                          { attachments: section.attachments, mode: "attach", row: -1 });
    }
    function saveAs(row: int) {
        dialogs.setSource("qrc:/Tessarin/Attachments/AttachmentDialogs.qml",
                          { attachments: section.attachments, mode: "save", row: row });
    }
    function confirmDelete(row: int) {
        dialogs.setSource("qrc:/Tessarin/Attachments/AttachmentDialogs.qml",
                          { attachments: section.attachments, mode: "delete", row: row });
    }

    // A pasted screenshot or copied files go to this issue; a text field with the focus takes its own paste.
    Shortcut {
        sequence: "Ctrl+V"
        onActivated: section.attachments.paste()
    }

    Item {
        Layout.fillWidth: true
        implicitHeight: attachFiles.height
        Text {
            objectName: "attachmentsHeading"
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            text: section.attachments.count > 0 ? qsTr("Attachments (%n)", "", section.attachments.count)
                                                : qsTr("Attachments")
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: Theme.secondary
        }
        ActionText {
            id: attachFiles
            objectName: "attachFiles"
            anchors.right: parent.right
            anchors.rightMargin: 8
            text: qsTr("Attach Files…")
            onTriggered: section.chooseFiles()
        }
    }

    // Under the heading, where they are seen without scrolling to the end of a long list.
    Text {
        objectName: "attachmentsError"
        Layout.fillWidth: true
        visible: text.length > 0
        Accessible.ignored: !visible
        text: section.attachments.errorText
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        font.pixelSize: 12
        color: Theme.red
    }
    Text {
        objectName: "attachmentsNotice"
        Layout.fillWidth: true
        visible: text.length > 0
        Accessible.ignored: !visible
        text: section.attachments.notice
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        font.pixelSize: 12
        color: Theme.secondary
    }

    Text {
        objectName: "noAttachments"
        visible: section.attachments.count === 0 && !section.attachments.isLoading
                 && section.attachments.uploads.count === 0
        Accessible.ignored: !visible
        text: qsTr("No attachments. Drop files here or paste an image to attach it.")
        font.pixelSize: 12
        color: Theme.secondary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }

    Repeater {
        model: section.attachments
        // Plain items: an issue with forty attachments makes forty of these.
        delegate: Item {
            id: row
            required property int index
            required property string fileName
            required property string sizeText
            required property string author
            required property string created
            required property string typeText
            required property string iconName
            required property bool isImage
            required property url thumbnail
            required property bool canDelete
            required property bool downloading
            required property real progress

            readonly property string details: author.length > 0
                ? qsTr("%1 · %2 · %3 · %4", "size, type, who attached it, when").arg(sizeText).arg(typeText)
                      .arg(author).arg(Theme.relativeTimeString(created, Clock.now))
                : qsTr("%1 · %2 · %3", "size, type, when").arg(sizeText).arg(typeText)
                      .arg(Theme.relativeTimeString(created, Clock.now))

            function activate() {
                if (row.isImage)
                    section.view(row.index);
                else
                    section.attachments.open(row.index);
            }

            Layout.fillWidth: true
            implicitHeight: 48
            activeFocusOnTab: true
            Accessible.role: Accessible.Button
            Accessible.name: row.fileName
            Accessible.description: row.details
            Accessible.onPressAction: row.activate()
            Keys.onReturnPressed: row.activate()
            Keys.onSpacePressed: row.activate()
            Keys.onDeletePressed: if (row.canDelete) section.confirmDelete(row.index)

            Rectangle {
                anchors.fill: parent
                radius: 6
                color: hover.containsMouse || row.activeFocus
                       ? Qt.rgba(Theme.gray.r, Theme.gray.g, Theme.gray.b, 0.12) : "transparent"
                border.width: row.activeFocus ? 1 : 0
                border.color: Theme.accent
            }
            MouseArea {
                id: hover
                anchors.fill: parent
                hoverEnabled: true
                cursorShape: Qt.PointingHandCursor
                onClicked: row.activate()
            }
            Item {
                id: preview
                anchors.left: parent.left
                anchors.leftMargin: 6
                anchors.verticalCenter: parent.verticalCenter
                width: 40
                height: 40
                Image {
                    id: thumbnailImage
                    anchors.fill: parent
                    visible: status === Image.Ready
                    source: row.thumbnail
                    sourceSize.width: 80
                    sourceSize.height: 80
                    fillMode: Image.PreserveAspectFit
                    asynchronous: true
                }
                // A themed icon when there is no thumbnail; a missing icon draws nothing.
                IconImage {
                    anchors.centerIn: parent
                    visible: thumbnailImage.status !== Image.Ready
                    width: 28
                    height: 28
                    name: row.iconName
                }
            }
            Text {
                id: nameText
                anchors.left: preview.right
                anchors.leftMargin: 10
                anchors.right: actions.left
                anchors.rightMargin: 8
                anchors.top: parent.top
                anchors.topMargin: 6
                text: row.fileName
                textFormat: Text.PlainText
                elide: Text.ElideMiddle
                font.pixelSize: 13
                color: section.palette.windowText
            }
            Text {
                anchors.left: nameText.left
                anchors.right: nameText.right
                anchors.top: nameText.bottom
                anchors.topMargin: 2
                text: !row.downloading ? row.details
                      : row.progress >= 0 ? qsTr("Downloading… %1 %").arg(Math.round(row.progress * 100))
                      : qsTr("Downloading…")
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font.pixelSize: 11
                color: Theme.secondary
            }
            Row {
                id: actions
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                spacing: 12
                // A download can be cancelled; a picture, which a click shows large, opened in an application.
                ActionText {
                    visible: row.downloading || row.isImage
                    text: row.downloading ? qsTr("Cancel") : qsTr("Open")
                    accessibleName: row.downloading ? qsTr("Cancel download of %1").arg(row.fileName)
                                                    : qsTr("Open %1").arg(row.fileName)
                    onTriggered: {
                        if (row.downloading)
                            section.attachments.cancelDownload(row.index);
                        else
                            section.attachments.open(row.index);
                    }
                }
                ActionText {
                    objectName: "saveAttachment"
                    visible: !row.downloading
                    text: qsTr("Save As…")
                    accessibleName: qsTr("Save %1 as…").arg(row.fileName)
                    onTriggered: section.saveAs(row.index)
                }
                ActionText {
                    objectName: "deleteAttachment"
                    visible: !row.downloading && row.canDelete
                    text: qsTr("Delete")
                    accessibleName: qsTr("Delete %1").arg(row.fileName)
                    onTriggered: section.confirmDelete(row.index)
                }
            }
        }
    }

    // Files on their way: a failed one stays to be sent again or dismissed.
    Repeater {
        model: section.attachments.uploads
        delegate: Item {
            id: upload
            required property int index
            required property string name
            required property string sizeText
            required property real progress
            required property bool sending
            required property string error

            Layout.fillWidth: true
            implicitHeight: uploadName.height + (upload.error.length > 0 ? uploadError.height + 4 : 7) + 12
            Accessible.role: Accessible.StaticText
            Accessible.name: upload.error.length > 0
                             ? qsTr("%1 was not attached: %2").arg(upload.name).arg(upload.error)
                             : qsTr("Attaching %1, %2 percent").arg(upload.name).arg(Math.round(upload.progress * 100))

            Text {
                id: uploadName
                anchors.left: parent.left
                anchors.leftMargin: 56
                anchors.right: uploadActions.left
                anchors.rightMargin: 8
                anchors.top: parent.top
                anchors.topMargin: 6
                text: qsTr("%1 (%2)").arg(upload.name).arg(upload.sizeText)
                textFormat: Text.PlainText
                elide: Text.ElideMiddle
                font.pixelSize: 13
                color: section.palette.windowText
            }
            Rectangle {
                anchors.left: uploadName.left
                anchors.top: uploadName.bottom
                anchors.topMargin: 4
                visible: upload.error.length === 0
                width: uploadName.width * upload.progress
                height: 3
                radius: 1.5
                color: Theme.accent
            }
            Text {
                id: uploadError
                objectName: "uploadError"
                anchors.left: uploadName.left
                anchors.right: parent.right
                anchors.top: uploadName.bottom
                anchors.topMargin: 4
                visible: upload.error.length > 0
                text: upload.error
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font.pixelSize: 12
                color: Theme.red
            }
            Row {
                id: uploadActions
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.top: parent.top
                anchors.topMargin: 6
                spacing: 12
                ActionText {
                    objectName: "retryUpload"
                    visible: upload.error.length > 0
                    text: qsTr("Try Again")
                    accessibleName: qsTr("Attach %1 again").arg(upload.name)
                    onTriggered: section.attachments.uploads.retry(upload.index)
                }
                ActionText {
                    text: upload.error.length > 0 ? qsTr("Dismiss") : qsTr("Cancel")
                    accessibleName: upload.error.length > 0 ? qsTr("Dismiss %1").arg(upload.name)
                                                            : qsTr("Cancel attaching %1").arg(upload.name)
                    onTriggered: section.attachments.uploads.cancel(upload.index)
                }
            }
        }
    }

    // The large view or a dialog, made when asked for.
    Loader { id: dialogs; visible: false }
}
