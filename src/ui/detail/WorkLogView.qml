// The work-log form, inline in the pane: time spent in Jira's notation, when the work started, an
// optional comment. What is typed is a draft until the server logs it or the user discards it.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Common
import Tessarin.Core
import Tessarin.Detail

ColumnLayout {
    id: view
    objectName: "workLogForm"

    required property WorkLogForm form
    signal closed()

    spacing: 6
    Keys.onReturnPressed: view.form.send()
    Keys.onEnterPressed: view.form.send()
    Component.onCompleted: timeSpent.forceActiveFocus()

    Label { text: qsTr("Log Work"); font.pixelSize: 12; font.weight: Font.DemiBold; color: Theme.secondary }
    Label {
        visible: view.form.error.length > 0
        Accessible.ignored: !visible
        Layout.fillWidth: true
        text: view.form.error
        textFormat: Text.PlainText
        color: Theme.red
        wrapMode: Text.Wrap
        font.pixelSize: 12
    }
    GridLayout {
        Layout.fillWidth: true
        columns: 2
        columnSpacing: 12
        rowSpacing: 4
        Label { text: qsTr("Time spent"); font.pixelSize: 12 }
        TextField {
            id: timeSpent
            objectName: "workLogTime"
            Layout.fillWidth: true
            text: view.form.timeSpent
            onTextEdited: view.form.timeSpent = text
            placeholderText: qsTr("1h 30m, 2d, 45m")
            Accessible.name: qsTr("Time spent")
            Accessible.description: view.form.timeSpentError
        }
        Item { implicitWidth: 1; visible: view.form.timeSpentError.length > 0 }
        Label {
            objectName: "workLogTimeError"
            visible: view.form.timeSpentError.length > 0
            Accessible.ignored: !visible
            Layout.fillWidth: true
            text: view.form.timeSpentError
            textFormat: Text.PlainText
            color: Theme.red
            wrapMode: Text.Wrap
            font.pixelSize: 11
        }
        Label { text: qsTr("Started"); font.pixelSize: 12 }
        TextField {
            objectName: "workLogStarted"
            Layout.fillWidth: true
            text: view.form.started
            onTextEdited: view.form.started = text
            placeholderText: qsTr("YYYY-MM-DD HH:MM")
            Accessible.name: qsTr("Started")
            Accessible.description: view.form.startedError
        }
        Item { implicitWidth: 1; visible: view.form.startedError.length > 0 }
        Label {
            visible: view.form.startedError.length > 0
            Accessible.ignored: !visible
            Layout.fillWidth: true
            text: view.form.startedError
            textFormat: Text.PlainText
            color: Theme.red
            wrapMode: Text.Wrap
            font.pixelSize: 11
        }
        Label { text: qsTr("Comment"); font.pixelSize: 12; Layout.alignment: Qt.AlignTop }
        TextArea {
            objectName: "workLogComment"
            Layout.fillWidth: true
            Layout.preferredHeight: Math.max(48, contentHeight + topPadding + bottomPadding)
            wrapMode: TextEdit.Wrap
            textFormat: TextEdit.PlainText
            text: view.form.comment
            onTextChanged: if (text !== view.form.comment) view.form.comment = text
            placeholderText: qsTr("Optional")
            Accessible.name: qsTr("Work log comment")
            background: Rectangle {
                color: palette.base
                border.color: parent.activeFocus ? palette.highlight : Theme.separator
                radius: 2
            }
            Keys.onPressed: (event) => {
                if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && (event.modifiers & Qt.ControlModifier)) {
                    view.form.send();
                    event.accepted = true;
                }
            }
        }
    }
    RowLayout {
        Layout.fillWidth: true
        Item { Layout.fillWidth: true }
        Spinner {
            Layout.preferredWidth: 18
            Layout.preferredHeight: 18
            visible: view.form.isSending
        }
        Button {
            objectName: "discardWorkLog"
            flat: true
            text: qsTr("Discard")
            Accessible.name: qsTr("Discard work log")
            enabled: !view.form.isSending
            onClicked: { view.form.discard(); view.closed(); }
            Accessible.onPressAction: { view.form.discard(); view.closed(); }
        }
        Button {
            objectName: "sendWorkLog"
            text: qsTr("Log Work")
            Accessible.name: text
            enabled: !view.form.isSending
            onClicked: view.form.send()
            Accessible.onPressAction: if (enabled) view.form.send()
        }
    }
}
