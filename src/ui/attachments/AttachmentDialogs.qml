// The dialogs of the attachments, one at a time as asked for: the files to attach, where to save one,
// and the confirmation of a deletion.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import Tessarin.Attachments

Item {
    id: dialogs

    required property IssueAttachments attachments
    // "attach", "save" or "delete"
    required property string mode
    required property int row

    Component.onCompleted: {
        if (dialogs.mode === "attach")
            attachDialog.open();
        else if (dialogs.mode === "save")
            saveDialog.open();
        else if (dialogs.mode === "delete") {
            deleteDialog.open();
            deleteDialog.forceActiveFocus(); // so that Escape reaches it
        }
    }

    FileDialog {
        id: attachDialog
        title: qsTr("Attach Files")
        fileMode: FileDialog.OpenFiles
        acceptLabel: qsTr("Attach")
        currentFolder: dialogs.attachments.homeFolder
        onAccepted: dialogs.attachments.attach(attachDialog.selectedFiles)
    }
    FileDialog {
        id: saveDialog
        title: qsTr("Save Attachment")
        fileMode: FileDialog.SaveFile
        acceptLabel: qsTr("Save")
        currentFolder: dialogs.attachments.downloadFolder
        selectedFile: dialogs.row >= 0
                      ? dialogs.attachments.downloadFolder + "/" + encodeURIComponent(dialogs.attachments.suggestedName(dialogs.row))
                      : ""
        onAccepted: dialogs.attachments.saveAs(dialogs.row, saveDialog.selectedFile)
    }
    Dialog {
        id: deleteDialog
        objectName: "deleteAttachmentConfirmation"
        focus: true
        parent: Overlay.overlay
        anchors.centerIn: parent
        modal: true
        title: qsTr("Delete this attachment?")
        Label {
            text: qsTr("“%1” is removed from the issue in Jira for everyone.").arg(dialogs.attachments.fileNameAt(dialogs.row))
            textFormat: Text.PlainText
        }
        standardButtons: Dialog.Cancel | Dialog.Ok
        onAccepted: dialogs.attachments.remove(dialogs.row)
        Component.onCompleted: standardButton(Dialog.Ok).text = qsTr("Delete")
    }
}
