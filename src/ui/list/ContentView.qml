// The main window's content: the filter and refresh toolbar, the sidebar with the ticket list or a state
// that says why there is none, and the selected issue beside it.
import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl
import QtQuick.Layouts
import QtQml.Models
import Tessarin.Common
import Tessarin.Detail
import Tessarin.Forms
import Tessarin.Navigation
import Tessarin.Core
import Tessarin.List

Item {
    id: content
    objectName: "content"

    // "Connect to Jira…" in the state shown before a server and token are set.
    signal settingsRequested()

    // Where the sidebar starts; the user moves it by dragging the divider.
    property int sidebarWidth: 380
    // Becomes true with the first frame that had an issue to show, and stays so.
    property bool detailMayShow: false

    readonly property ContentController controller: ContentController { settings: AppSettings }
    readonly property TicketStore store: controller.store

    // Relative phrases move only while they can be seen.
    Binding {
        target: Clock
        property: "running"
        value: content.Window.visibility !== Window.Hidden && content.Window.visibility !== Window.Minimized
    }

    // Ctrl+1 … Ctrl+9: the first nine sources.
    Instantiator {
        model: 9
        delegate: Shortcut {
            required property int index
            sequence: "Ctrl+" + (index + 1)
            onActivated: content.controller.selectSource(index)
        }
    }

    // A query of one's own: named, checked by Jira, then kept. Made when first asked for.
    function openQueryDialog() {
        queryDialogLoader.active = true
        queryDialogLoader.item.open()
    }
    Loader {
        id: queryDialogLoader
        active: false
        sourceComponent: QueryDialog { controller: content.controller }
    }
    Connections {
        target: content.controller
        function onRaiseRequested() {
            const window = content.Window.window
            if (window.visibility === Window.Minimized || window.visibility === Window.Hidden)
                window.showNormal()
            window.raise()
            window.requestActivate()
        }
    }

    // "New Issue…" and "New Sub-task…": one window, made when first asked for, a new one for another kind
    // of issue (what was typed in the last stays in its draft).
    Loader {
        id: createWindow
        property string parentKey
        active: false
    }
    Connections {
        target: content.controller
        function onNewIssueRequested(parentKey: string) {
            if (!createWindow.active || createWindow.parentKey !== parentKey) {
                createWindow.parentKey = parentKey;
                createWindow.active = true;
                createWindow.setSource("qrc:/Tessarin/Forms/CreateIssueWindow.qml",
                                       { form: content.controller.newIssueForm(parentKey) });
            }
            content.controller.present(createWindow.item, content.Window.window);
        }
    }

    Component.onCompleted: controller.appeared()
    // Once: what can wait for the window to be on screen.
    Connections {
        id: firstFrame
        target: content.Window.window
        function onFrameSwapped() {
            firstFrame.enabled = false;
            content.controller.firstFrameShown();
        }
    }
    Component.onDestruction: controller.disappeared()

    // "Go to Issue…": made when first asked for.
    function openGoTo() {
        content.controller.prepareGoTo();
        goToLoader.active = true;
        goToLoader.item.open();
    }
    Loader {
        id: goToLoader
        active: false
        sourceComponent: GoToIssueDialog {
            parent: Overlay.overlay
            picker: content.controller.picker
            busy: content.controller.isOpeningIssue
            error: content.controller.openError
            onGoTo: (typed, row) => content.controller.goTo(typed, row)
        }
    }
    Connections {
        target: content.controller
        function onIssueOpened() {
            if (goToLoader.item)
                goToLoader.item.close();
        }
    }
    Shortcut {
        sequences: ["Ctrl+K", "Ctrl+L"]
        onActivated: content.openGoTo()
    }
    Shortcut {
        sequences: ["Alt+Left", "Back"]
        enabled: content.controller.history.canGoBack
        onActivated: content.controller.goBack()
    }
    Shortcut {
        sequences: ["Alt+Right", "Forward"]
        enabled: content.controller.history.canGoForward
        onActivated: content.controller.goForward()
    }
    // The mouse's own back and forward buttons, anywhere in the window: above everything, so that no
    // text or list under the pointer takes the press first; every other button passes through.
    MouseArea {
        anchors.fill: parent
        z: 1000
        acceptedButtons: Qt.BackButton
        onPressed: content.controller.goBack()
    }
    MouseArea {
        anchors.fill: parent
        z: 1000
        acceptedButtons: Qt.ForwardButton
        onPressed: content.controller.goForward()
    }

    Shortcut {
        sequences: [StandardKey.Find]
        onActivated: search.forceActiveFocus()
    }
    Shortcut {
        sequences: ["F5", "Ctrl+R"]
        enabled: !content.store.isLoading
        onActivated: content.controller.refresh()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        ToolBar {
            Layout.fillWidth: true
            RowLayout {
                anchors.fill: parent
                // Icons where the theme has them, else their words: a button drawing nothing would be
                // lost to the mouse.
                ToolButton {
                    objectName: "backButton"
                    icon.name: "go-previous"
                    text: qsTr("Back")
                    display: Theme.hasIcon(icon.name) ? AbstractButton.IconOnly : AbstractButton.TextOnly
                    enabled: content.controller.history.canGoBack
                    ToolTip.text: qsTr("Back to %1").arg(content.controller.history.backKey)
                    ToolTip.visible: hovered && enabled
                    Accessible.name: qsTr("Back")
                    Accessible.description: enabled ? ToolTip.text : ""
                    onClicked: content.controller.goBack()
                    Accessible.onPressAction: content.controller.goBack()
                }
                ToolButton {
                    objectName: "forwardButton"
                    icon.name: "go-next"
                    text: qsTr("Forward")
                    display: Theme.hasIcon(icon.name) ? AbstractButton.IconOnly : AbstractButton.TextOnly
                    enabled: content.controller.history.canGoForward
                    ToolTip.text: qsTr("Forward to %1").arg(content.controller.history.forwardKey)
                    ToolTip.visible: hovered && enabled
                    Accessible.name: qsTr("Forward")
                    Accessible.description: enabled ? ToolTip.text : ""
                    onClicked: content.controller.goForward()
                    Accessible.onPressAction: content.controller.goForward()
                }
                ToolButton {
                    objectName: "goToIssueButton"
                    icon.name: "go-jump"
                    text: qsTr("Go to Issue…")
                    display: Theme.hasIcon(icon.name) ? AbstractButton.IconOnly : AbstractButton.TextOnly
                    ToolTip.text: qsTr("Go to Issue… (Ctrl+K)")
                    ToolTip.visible: hovered
                    Accessible.name: qsTr("Go to Issue")
                    onClicked: content.openGoTo()
                    Accessible.onPressAction: content.openGoTo()
                }
                Item { Layout.fillWidth: true }
                Row {
                    id: filterPicker
                    objectName: "filterPicker"
                    Accessible.role: Accessible.PageTabList
                    Accessible.name: qsTr("Filter")
                    Repeater {
                        model: [qsTr("All"), qsTr("To Do"), qsTr("In Progress"), qsTr("Done")]
                        delegate: Button {
                            required property int index
                            required property string modelData
                            // As wide as the longest word needs, in any language.
                            width: Math.max(80, implicitWidth)
                            text: modelData
                            // The filter is the one state: every way of activating a segment sets it, and the
                            // highlight only follows it, so clicking the active segment keeps it active.
                            checked: content.store.filter === index
                            onClicked: content.store.filter = index
                            Accessible.name: modelData
                            Accessible.checkable: true
                            Accessible.checked: checked
                            Accessible.onToggleAction: content.store.filter = index
                            // Qt 6.4's own Press action of a button clicks nothing.
                            Accessible.onPressAction: content.store.filter = index
                        }
                    }
                }
                ToolButton {
                    id: refreshButton
                    objectName: "refreshButton"
                    enabled: !content.store.isLoading
                    ToolTip.text: qsTr("Refresh")
                    ToolTip.visible: hovered
                    Accessible.name: qsTr("Refresh")
                    onClicked: content.controller.refresh()
                    // The icon or the spinner, never both. The icon is hidden rather than unset: an image
                    // let go of lingers in Qt's cache, whose upkeep wakes the process twice a minute.
                    contentItem: Item {
                        id: refreshFace
                        readonly property bool drawsIcon: Theme.hasIcon("view-refresh")
                        implicitWidth: drawsIcon ? 18 : Math.max(18, refreshWords.implicitWidth)
                        implicitHeight: 18
                        IconImage {
                            objectName: "refreshIcon"
                            anchors.centerIn: parent
                            name: refreshFace.drawsIcon ? "view-refresh" : ""
                            sourceSize.width: 16; sourceSize.height: 16
                            color: refreshButton.palette.buttonText
                            visible: refreshFace.drawsIcon && !content.store.isLoading
                        }
                        Label {
                            id: refreshWords
                            anchors.centerIn: parent
                            text: qsTr("Refresh")
                            visible: !refreshFace.drawsIcon && !content.store.isLoading
                            Accessible.ignored: true
                        }
                        Spinner {
                            objectName: "refreshSpinner"
                            anchors.fill: parent
                            visible: content.store.isLoading
                        }
                    }
                }
            }
        }

        SplitView {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ColumnLayout {
                id: sidebar
                objectName: "sidebar"
                SplitView.minimumWidth: 320
                SplitView.preferredWidth: content.sidebarWidth
                spacing: 0

                // The sources: which query the list below shows. A handful of rows, all made.
                ColumnLayout {
                    id: sourceList
                    objectName: "sourceList"
                    Layout.fillWidth: true
                    Layout.topMargin: 6
                    spacing: 0
                    Accessible.role: Accessible.List
                    Accessible.name: qsTr("Sources")
                    Repeater {
                        model: content.controller.sources
                        // Plain items: one row per source, all made with the window.
                        delegate: Item {
                            id: sourceRow
                            required property int index
                            required property string name
                            required property string countText
                            required property string accessibleName
                            required property bool current
                            required property bool removable
                            required property bool followable
                            required property bool followed
                            required property string shortcut
                            Layout.fillWidth: true
                            implicitHeight: 26
                            // The tint of a selected ticket row: the source shown reads as chosen, not as a button.
                            Rectangle {
                                anchors.fill: parent
                                readonly property color highlight: sourceList.palette.highlight
                                color: sourceRow.current ? Qt.rgba(highlight.r, highlight.g, highlight.b, 0.22)
                                       : sourcePointer.containsMouse ? Qt.rgba(0.5, 0.5, 0.5, 0.1) : "transparent"
                            }
                            MouseArea {
                                id: sourcePointer
                                anchors.fill: parent
                                hoverEnabled: true
                                acceptedButtons: Qt.LeftButton | Qt.RightButton
                                onClicked: mouse => {
                                    if (mouse.button === Qt.LeftButton)
                                        content.controller.selectSource(sourceRow.index)
                                    else if (sourceRow.followable)
                                        sourceMenu.show(sourceRow.index, sourceRow.followed, sourceRow.removable)
                                }
                            }
                            Text {
                                anchors.left: parent.left
                                anchors.right: sourceCount.left
                                anchors.leftMargin: 10
                                anchors.rightMargin: 6
                                anchors.verticalCenter: parent.verticalCenter
                                text: sourceRow.name
                                textFormat: Text.PlainText
                                elide: Text.ElideRight
                                color: sourceList.palette.text
                                font.weight: sourceRow.current ? Font.DemiBold : Font.Normal
                            }
                            Text {
                                id: sourceCount
                                anchors.right: parent.right
                                anchors.rightMargin: 10
                                anchors.verticalCenter: parent.verticalCenter
                                text: sourceRow.countText
                                textFormat: Text.PlainText
                                color: Theme.secondary
                                font.pixelSize: 11
                            }
                            Accessible.role: Accessible.ListItem
                            Accessible.name: accessibleName
                            Accessible.description: followed ? qsTr("%1, notifies about changes").arg(shortcut) : shortcut
                            Accessible.selectable: true
                            Accessible.selected: current
                            Accessible.onPressAction: content.controller.selectSource(index)
                        }
                    }
                    Button {
                        objectName: "addQueryButton"
                        flat: true
                        leftPadding: 10
                        text: qsTr("Add Query…")
                        font.pixelSize: 11
                        Accessible.name: qsTr("Add a query")
                        onClicked: content.openQueryDialog()
                        Accessible.onPressAction: content.openQueryDialog()
                    }
                    // One menu for the rows of favourites and one's own queries, made when first asked for.
                    Loader {
                        id: sourceMenu
                        property int row: -1
                        property bool followed: false
                        property bool removable: false
                        function show(row, followed, removable) {
                            sourceMenu.row = row
                            sourceMenu.followed = followed
                            sourceMenu.removable = removable
                            active = true
                            sourceMenu.item.popup()
                        }
                        active: false
                        sourceComponent: Menu {
                            MenuItem {
                                text: qsTr("Notify About Changes")
                                checkable: true
                                checked: sourceMenu.followed
                                onTriggered: content.controller.toggleNotifications(sourceMenu.row)
                            }
                            MenuItem {
                                text: qsTr("Remove Query")
                                enabled: sourceMenu.removable
                                height: enabled ? implicitHeight : 0
                                visible: enabled
                                onTriggered: content.controller.removeQuery(sourceMenu.row)
                            }
                        }
                    }
                }

                Label {
                    text: content.controller.sourceTitle
                    font.pixelSize: 15
                    font.weight: Font.DemiBold
                    Layout.margins: 10
                    Accessible.role: Accessible.Heading
                }
                TextField {
                    id: search
                    objectName: "searchField"
                    Layout.fillWidth: true
                    Layout.leftMargin: 8
                    Layout.rightMargin: 8
                    placeholderText: qsTr("Search key or summary")
                    text: content.store.searchText
                    onTextEdited: content.store.searchText = text
                    Accessible.name: qsTr("Search key or summary")
                    Keys.onDownPressed: list.forceActiveFocus()
                }

                StackLayout {
                    objectName: "sidebarStates"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    currentIndex: content.controller.sidebarContent
                    // The states other than the list are made when first shown, then kept: a state never
                    // seen costs nothing, and one seen again is not made afresh (its icon would churn Qt's
                    // image cache). Plain loaders here: a loader's own file would make their components
                    // outside the context they are bound to.

                    // Unconfigured
                    Loader {
                        readonly property bool current: content.controller.sidebarContent === SidebarContent.Unconfigured
                        property bool made: false
                        active: made || current
                        onCurrentChanged: if (current) made = true
                        Component.onCompleted: made = current
                        sourceComponent: StateMessage {
                            objectName: "unconfiguredState"
                            iconName: "configure"
                            StateText {
                                heading: true
                                text: qsTr("Connect to Jira")
                            }
                            StateText { text: qsTr("Add your Jira server URL and Personal Access Token in Settings (Ctrl+,).") }
                            Button {
                                id: connectButton
                                objectName: "connectButton"
                                Layout.alignment: Qt.AlignHCenter
                                Layout.topMargin: 4
                                text: qsTr("Connect to Jira…")
                                highlighted: true
                                Accessible.name: text
                                Accessible.ignored: !visible
                                onClicked: content.settingsRequested()
                                Accessible.onPressAction: connectButton.clicked()
                                // The default button: Enter anywhere in the window presses it while it shows.
                                Shortcut {
                                    sequences: ["Return", "Enter"]
                                    enabled: connectButton.visible
                                    onActivated: connectButton.clicked()
                                }
                            }
                        }
                    }

                    // Loading
                    Loader {
                        readonly property bool current: content.controller.sidebarContent === SidebarContent.Loading
                        property bool made: false
                        active: made || current
                        onCurrentChanged: if (current) made = true
                        Component.onCompleted: made = current
                        sourceComponent: StateMessage {
                            objectName: "loadingState"
                            Spinner {
                                objectName: "loadingSpinner"
                                Layout.alignment: Qt.AlignHCenter
                            }
                            StateText {
                                text: qsTr("Loading tickets…")
                                font.pixelSize: 13
                            }
                        }
                    }

                    // Error
                    Loader {
                        readonly property bool current: content.controller.sidebarContent === SidebarContent.Error
                        property bool made: false
                        active: made || current
                        onCurrentChanged: if (current) made = true
                        Component.onCompleted: made = current
                        sourceComponent: StateMessage {
                            objectName: "errorState"
                            iconName: "dialog-warning-symbolic"
                            iconColor: Theme.orange
                            StateText {
                                objectName: "errorText"
                                text: content.controller.errorText
                            }
                            StateText {
                                objectName: "errorHint"
                                secondary: false
                                text: content.controller.errorHint
                            }
                            Button {
                                objectName: "retryButton"
                                Layout.alignment: Qt.AlignHCenter
                                text: qsTr("Retry")
                                Accessible.name: qsTr("Retry")
                                Accessible.ignored: !visible
                                onClicked: content.controller.refresh()
                            }
                        }
                    }

                    // Empty
                    Loader {
                        readonly property bool current: content.controller.sidebarContent === SidebarContent.Empty
                        property bool made: false
                        active: made || current
                        onCurrentChanged: if (current) made = true
                        Component.onCompleted: made = current
                        sourceComponent: StateMessage {
                            objectName: "emptyState"
                            iconName: "dialog-ok-apply"
                            StateText {
                                objectName: "emptyText"
                                text: content.controller.emptyText
                                font.pixelSize: 13
                            }
                        }
                    }

                    // The list
                    ListView {
                        id: list
                        objectName: "ticketList"
                        clip: true
                        model: content.store.filteredModel
                        keyNavigationEnabled: true
                        boundsBehavior: Flickable.StopAtBounds
                        // Rows are made as they scroll into view, none ahead in the background: a filter
                        // applied while Qt 6.4 incubates rows ahead cancels them with a warning.
                        cacheBuffer: 0
                        activeFocusOnTab: true
                        // Rows made later (a search cleared, a refresh) are read in their place, not last.
                        function arrangeForReading() { ReadingOrder.arrange(list.contentItem); }
                        // The store owns the selection; the list follows it and reports the user's moves.
                        function followSelection() {
                            currentIndex = content.store.filteredModel.rowOfIssue(content.store.selectedTicketID);
                        }
                        Component.onCompleted: followSelection()
                        Connections {
                            target: content.store
                            function onSelectedTicketIDChanged() { list.followSelection(); }
                            function onFilteredTicketsChanged() { list.followSelection(); }
                        }
                        onCurrentIndexChanged: {
                            const id = content.store.filteredModel.issueIdAt(currentIndex);
                            if (currentIndex >= 0 && id !== content.store.selectedTicketID)
                                content.store.selectedTicketID = id;
                        }
                        ScrollBar.vertical: ScrollBar {}
                        Accessible.name: qsTr("Tickets")
                        Keys.onPressed: event => {
                            if (event.matches(StandardKey.Copy)) {
                                content.controller.copy(content.store.selectedTicketID, ContentController.KeyAndSummary);
                                event.accepted = true;
                            } else if ((event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && event.modifiers & Qt.ShiftModifier))
                                       && list.currentItem) {
                                rowMenu.show(list.currentItem.issueId, list.currentItem, 0, list.currentItem.height);
                                event.accepted = true;
                            }
                        }
                        delegate: TicketRow {
                            id: ticketRow
                            width: list.width
                            selected: issueId === content.store.selectedTicketID
                            textColor: list.palette.text
                            highlight: list.palette.highlight
                            onClicked: {
                                content.store.selectedTicketID = ticketRow.issueId;
                                list.forceActiveFocus();
                            }
                            onContextMenuRequested: position => rowMenu.show(ticketRow.issueId, ticketRow, position.x, position.y)
                            onYChanged: Qt.callLater(list.arrangeForReading)
                            Component.onCompleted: Qt.callLater(list.arrangeForReading)
                        }

                        // The rows' context menu, made when first asked for.
                        Loader {
                            id: rowMenu
                            function show(id: string, item: Item, x: real, y: real) {
                                active = true;
                                const menu = rowMenu.item as RowMenu;
                                menu.controller = content.controller;
                                menu.show(id, item, x, y);
                            }
                            active: false
                            sourceComponent: RowMenu {}
                        }
                    }
                }

                // Only for a search longer than the list Tessarin keeps: made when one is.
                Loader {
                    Layout.alignment: Qt.AlignHCenter
                    active: content.controller.isTruncated
                    visible: active
                    sourceComponent: Button {
                        objectName: "openSearch"
                        flat: true
                        font.pixelSize: 11
                        text: qsTr("Open the Whole Search in Jira")
                        onClicked: content.controller.openSearchInJira()
                        Accessible.onPressAction: content.controller.openSearchInJira()
                    }
                }

                Label {
                    objectName: "tokenWarning"
                    Layout.fillWidth: true
                    visible: text.length > 0
                    Accessible.ignored: !visible
                    text: content.controller.tokenWarning
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font.pixelSize: 11
                    color: Theme.orange
                    leftPadding: 8
                    rightPadding: 8
                    topPadding: 4
                }

                Label {
                    objectName: "footer"
                    Layout.fillWidth: true
                    visible: text.length > 0
                    text: content.controller.footerText
                    textFormat: Text.PlainText
                    font.pixelSize: 10
                    color: Theme.secondary
                    horizontalAlignment: Text.AlignHCenter
                    elide: Text.ElideRight
                    topPadding: 4
                    bottomPadding: 4
                    Accessible.description: content.controller.footerDetail
                    HoverHandler { id: footerHover }
                    PlainToolTip {
                        objectName: "footerToolTip"
                        visible: footerHover.hovered && text.length > 0
                        text: content.controller.footerDetail
                    }
                }
            }

            Item {
                SplitView.fillWidth: true

                // Made only while no issue is selected.
                Loader {
                    anchors.fill: parent
                    active: !content.controller.detail
                    sourceComponent: StateMessage {
                        objectName: "detailPlaceholder"
                        iconName: "view-task"
                        iconSize: 32
                        StateText {
                            text: qsTr("Select a ticket")
                            font.pixelSize: 13
                        }
                    }
                }

                // The first issue's pane waits for a frame with the list on screen: the list, which the
                // user came for, shows sooner, and the pane follows a frame later where nothing else moves.
                Connections {
                    target: content.Window.window
                    enabled: !content.detailMayShow && content.controller.detail !== null
                    // Later, not inside the frame: an item made while the frame is drawn misses its layout.
                    function onFrameSwapped() { Qt.callLater(() => { content.detailMayShow = true; }); }
                }

                // A new view per selected issue, at the top, with nothing carried over from the last one.
                Item {
                    objectName: "detailArea"
                    anchors.fill: parent
                    Repeater {
                        model: content.controller.detail && content.detailMayShow ? [content.controller.detail] : []
                        delegate: TicketDetailView {
                            required property TicketDetail modelData
                            objectName: "detailView"
                            anchors.fill: parent
                            detail: modelData
                        }
                    }
                }
            }
        }
    }
}
