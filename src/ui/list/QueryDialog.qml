// A query of one's own: named, checked by Jira, then kept. Stays open until Jira has accepted it.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.List

Dialog {
    id: queryDialog

    required property ContentController controller

    objectName: "queryDialog"
    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 460
    modal: true
    focus: true
    title: qsTr("Add Query")
    onAboutToShow: {
        queryDialog.controller.forgetQueryError()
        queryName.text = ""
        queryJql.text = ""
        queryName.forceActiveFocus()
    }
    ColumnLayout {
        width: parent.width
        spacing: 6
        TextField {
            id: queryName
            objectName: "queryName"
            Layout.fillWidth: true
            placeholderText: qsTr("Name")
            Accessible.name: qsTr("Query name")
        }
        TextArea {
            id: queryJql
            objectName: "queryJql"
            Layout.fillWidth: true
            Layout.preferredHeight: 70
            placeholderText: qsTr("JQL, e.g. reporter = currentUser() ORDER BY updated DESC")
            wrapMode: TextEdit.Wrap
            Accessible.name: qsTr("JQL")
            Keys.onReturnPressed: event => {
                if (event.modifiers & Qt.ControlModifier)
                    queryDialog.add()
                else
                    event.accepted = false
            }
        }
        Label {
            objectName: "queryError"
            Layout.fillWidth: true
            visible: text.length > 0
            text: queryDialog.controller.queryError
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: Theme.red
            font.pixelSize: 12
        }
    }
    function add() {
        queryDialog.controller.addQuery(queryName.text, queryJql.text)
    }
    footer: RowLayout {
        Item {
            Layout.fillWidth: true
        }
        Button {
            objectName: "addQuery"
            Layout.bottomMargin: 10
            text: queryDialog.controller.isCheckingQuery ? qsTr("Checking…") : qsTr("Add")
            enabled: !queryDialog.controller.isCheckingQuery
            onClicked: queryDialog.add()
            Accessible.name: qsTr("Add")
            Accessible.onPressAction: queryDialog.add()
        }
        Button {
            Layout.rightMargin: 10
            Layout.bottomMargin: 10
            text: qsTr("Cancel")
            onClicked: queryDialog.reject()
            Accessible.name: qsTr("Cancel")
        }
    }
    Connections {
        target: queryDialog.controller
        function onQueryAdded() { queryDialog.close() }
    }
}
