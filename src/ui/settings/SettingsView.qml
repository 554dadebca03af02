// The settings window's content: a list of pages on the side (Connection, Network, Notifications,
// Data) and the page chosen, which the window keeps for the next time it opens.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Settings

Item {
    id: view

    readonly property SettingsController controller: SettingsController { settings: AppSettings }
    readonly property ServerProbe probe: ServerProbe { settings: AppSettings }
    readonly property var pageTitles: [qsTr("Connection"), qsTr("Network"), qsTr("Notifications"), qsTr("Data")]
    readonly property int pageCount: pageTitles.length

    function appeared() {
        controller.appeared()
        // Nothing to connect to yet: the first thing to do is to name the server.
        if (AppSettings.baseURLString === "") {
            showPage(0)
            connection.focusURL()
        }
    }
    function showPage(index) {
        controller.page = (index + pageCount) % pageCount
    }
    // A dialog of the window is open: Escape and Ctrl+W close it first.
    readonly property bool dialogOpen: certificateDialog.visible

    // Wide enough for the switches as this language words them, which cannot wrap.
    implicitWidth: Math.max(640, sidebar.Layout.preferredWidth + notifications.implicitWidth + 48)
    implicitHeight: Math.max(420, pages.implicitHeight + 36)

    RowLayout {
        anchors.fill: parent
        spacing: 0

        // The pages, as tabs on the side: a click, Up and Down, or Ctrl+Tab choose one.
        Rectangle {
            id: sidebar
            Layout.fillHeight: true
            Layout.preferredWidth: Math.max(150, pageList.implicitWidth)
            color: Qt.rgba(0.5, 0.5, 0.5, 0.08)
            ColumnLayout {
                id: pageList
                objectName: "pageList"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.topMargin: 12
                spacing: 0
                activeFocusOnTab: true
                Accessible.role: Accessible.PageTabList
                Accessible.name: qsTr("Settings pages")
                Accessible.description: qsTr("Up and Down choose a page; Ctrl+Tab works from anywhere in the window.")
                Keys.onUpPressed: view.showPage(view.controller.page - 1)
                Keys.onDownPressed: view.showPage(view.controller.page + 1)
                Repeater {
                    model: view.pageTitles
                    delegate: Item {
                        id: tab
                        required property int index
                        required property string modelData
                        readonly property bool current: view.controller.page === index
                        objectName: "pageTab"
                        Layout.fillWidth: true
                        implicitWidth: title.implicitWidth + 40
                        implicitHeight: 30
                        Accessible.role: Accessible.PageTab
                        Accessible.name: modelData
                        Accessible.selectable: true
                        Accessible.selected: current
                        Accessible.onPressAction: view.showPage(index)
                        // A screen reader moving its focus to a tab (the first of the tab's actions)
                        // chooses it, as Up and Down do; the keys stay with the list.
                        onActiveFocusChanged: if (activeFocus) {
                            view.showPage(index)
                            pageList.forceActiveFocus()
                        }
                        Rectangle {
                            anchors.fill: parent
                            anchors.leftMargin: 6
                            anchors.rightMargin: 6
                            radius: 4
                            readonly property color highlight: pageList.palette.highlight
                            color: tab.current ? Qt.rgba(highlight.r, highlight.g, highlight.b, 0.22) : "transparent"
                            border.width: tab.current && pageList.activeFocus ? 1 : 0
                            border.color: highlight
                        }
                        Text {
                            id: title
                            anchors.left: parent.left
                            anchors.leftMargin: 16
                            anchors.verticalCenter: parent.verticalCenter
                            text: tab.modelData
                            font.pixelSize: 13
                            font.weight: tab.current ? Font.DemiBold : Font.Normal
                            color: pageList.palette.text
                        }
                        MouseArea {
                            anchors.fill: parent
                            onClicked: view.showPage(tab.index)
                        }
                    }
                }
            }
        }

        StackLayout {
            id: pages
            objectName: "settingsPages"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.margins: 18
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            currentIndex: view.controller.page

            ConnectionPage {
                id: connection
                objectName: "connectionPage"
                controller: view.controller
                probe: view.probe
                onCheckCertificate: certificateDialog.open()
            }
            NetworkPage {
                objectName: "networkPage"
                controller: view.controller
            }
            NotificationsPage {
                id: notifications
                objectName: "notificationsPage"
                controller: view.controller
            }
            DataPage {
                objectName: "dataPage"
                controller: view.controller
            }
        }
    }

    Dialog {
        id: certificateDialog
        objectName: "certificateDialog"
        parent: Overlay.overlay
        anchors.centerIn: parent
        width: Math.min(parent ? parent.width - 24 : 440, 456)
        modal: true
        focus: true
        title: qsTr("The server's certificate")
        // Ctrl+W closes the dialog first, as Escape does; the window's own keys wait behind it. Only
        // while it is open: two shortcuts of one window on the same keys would both be ignored.
        Shortcut {
            sequences: [StandardKey.Close]
            enabled: certificateDialog.visible
            onActivated: certificateDialog.reject()
        }
        ColumnLayout {
            width: parent.width
            spacing: 8
            Label {
                Layout.fillWidth: true
                text: qsTr("Trust it only if it is your server's own: compare the fingerprint with the one your administrators give.")
                wrapMode: Text.Wrap
                font.pixelSize: 12
            }
            TextArea {
                objectName: "certificateDetails"
                Layout.fillWidth: true
                readOnly: true
                selectByMouse: true
                wrapMode: TextEdit.WrapAnywhere
                textFormat: TextEdit.PlainText
                text: view.controller.certificateDetails
                font.pixelSize: 11
                Accessible.name: qsTr("Certificate details")
            }
        }
        footer: DialogButtonBox {
            Button {
                objectName: "trustCertificate"
                text: qsTr("Trust This Certificate")
                DialogButtonBox.buttonRole: DialogButtonBox.AcceptRole
                Accessible.name: text
                Accessible.description: qsTr("This server is trusted with this certificate and no other.")
            }
            Button {
                text: qsTr("Cancel")
                DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
                Accessible.name: text
            }
        }
        onAccepted: view.controller.trustCertificate()
    }
}
