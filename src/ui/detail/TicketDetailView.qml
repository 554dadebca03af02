// One issue in full: header with the status menu, description, attachments and comments.
import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl
import QtQuick.Layouts
import Tessarin.Common
import Tessarin.Forms
import Tessarin.Core
import Tessarin.Detail
import Tessarin.Attachments
import Tessarin.Navigation

ScrollView {
    id: pane

    required property TicketDetail detail

    contentWidth: availableWidth
    ScrollBar.vertical.policy: ScrollBar.AsNeeded

    // Files dropped anywhere on the pane are attached to its issue.
    background: DropArea {
        id: dropArea
        objectName: "attachmentDrop"
        keys: ["text/uri-list"]
        onDropped: drop => {
            if (drop.hasUrls) {
                pane.detail.attachments.attach(drop.urls);
                drop.acceptProposedAction();
            }
        }
        Rectangle {
            anchors.fill: parent
            visible: dropArea.containsDrag
            color: Qt.rgba(Theme.accent.r, Theme.accent.g, Theme.accent.b, 0.08)
            border.width: 2
            border.color: Theme.accent
            radius: 4
        }
    }

    Shortcut { sequence: "F2"; enabled: pane.detail.edit === null; onActivated: pane.detail.editInPlace("summary") }

    ColumnLayout {
        width: pane.availableWidth
        spacing: 18

        // Header
        ColumnLayout {
            Layout.fillWidth: true
            Layout.margins: 24
            Layout.bottomMargin: 0
            spacing: 10

            RowLayout {
                Layout.fillWidth: true
                RichTextView {
                    objectName: "key"
                    text: pane.detail.key
                    detail: pane.detail
                    wrapMode: TextEdit.NoWrap
                    font.pixelSize: 12
                    font.bold: true
                    font.family: "monospace"
                    color: Theme.secondary
                }
                Label { text: pane.detail.issueType; textFormat: Text.PlainText; font.pixelSize: 12; color: Theme.secondary }
                // The actions wrap onto a second line where the pane is narrow or the words long.
                Flow { Layout.fillWidth: true; Layout.leftMargin: 8
                Button {
                    objectName: "editIssue"
                    flat: true
                    text: qsTr("Edit…")
                    icon.name: "document-edit"
                    display: AbstractButton.TextBesideIcon
                    Accessible.name: qsTr("Edit Fields")
                    enabled: !pane.detail.editFormShown
                    onClicked: pane.detail.openEdit()
                    Accessible.onPressAction: pane.detail.openEdit()
                }
                Button {
                    objectName: "newSubtask"
                    flat: true
                    text: qsTr("New Sub-task…")
                    icon.name: "list-add"
                    display: AbstractButton.TextBesideIcon
                    Accessible.name: qsTr("New Sub-task")
                    onClicked: pane.detail.newSubtask()
                    Accessible.onPressAction: pane.detail.newSubtask()
                }
                Button {
                    objectName: "logWork"
                    flat: true
                    text: qsTr("Log Work…")
                    icon.name: "view-calendar"
                    display: AbstractButton.TextBesideIcon
                    Accessible.name: qsTr("Log Work")
                    enabled: pane.detail.workLog === null
                    onClicked: pane.detail.openWorkLog()
                    Accessible.onPressAction: pane.detail.openWorkLog()
                }
                Button {
                    objectName: "openInJira"
                    flat: true
                    text: qsTr("Open in Jira")
                    icon.name: "document-open-remote"
                    display: AbstractButton.TextBesideIcon
                    Accessible.name: qsTr("Open in Jira")
                    onClicked: pane.detail.openInJira()
                }
                }
            }

            // The editor in an item of the height its text takes: laid out directly, a wrapped editor keeps
            // the height of an earlier, narrower width.
            // A click (or F2) edits the summary where it is: Enter saves, Escape leaves it as it was.
            Item {
                Layout.fillWidth: true
                implicitHeight: pane.detail.editingSummary ? summaryEditor.implicitHeight : summary.contentHeight
                RichTextView {
                    id: summary
                    objectName: "summary"
                    width: parent.width
                    visible: !pane.detail.editingSummary
                    text: pane.detail.summary
                    detail: pane.detail
                    font.pixelSize: 20
                    font.weight: Font.DemiBold
                    // On the text itself, so that it hears the click before the text takes it.
                    TapHandler {
                        enabled: !pane.detail.editingSummary
                        onTapped: pane.detail.editInPlace("summary")
                    }
                }
                Loader {
                    id: summaryEditor
                    width: parent.width
                    active: pane.detail.editingSummary
                    onActiveChanged: {
                        if (active)
                            setSource("qrc:/Tessarin/Detail/SummaryEditor.qml", { detail: pane.detail });
                        else
                            source = "";
                    }
                }
            }

            // Wraps rather than widen the pane when its width runs short.
            Flow {
                id: facts
                Layout.fillWidth: true
                spacing: 14

                Button {
                    id: statusMenuButton
                    objectName: "statusMenu"
                    flat: true
                    enabled: !pane.detail.isTransitioning
                    Accessible.name: qsTr("Status: %1").arg(pane.detail.statusName)
                    onClicked: statusMenu.open()
                    // Qt 6.4's own Press action of a button clicks nothing.
                    Accessible.onPressAction: if (enabled) statusMenu.open()
                    contentItem: RowLayout {
                        spacing: 4
                        StatusPill { statusName: pane.detail.statusName; categoryKey: pane.detail.statusCategory }
                        Spinner {
                            visible: pane.detail.isTransitioning
                            Layout.preferredWidth: 16
                            Layout.preferredHeight: 16
                        }
                        IconImage {
                            visible: !pane.detail.isTransitioning
                            name: "go-down"
                            sourceSize.width: 9; sourceSize.height: 9
                            color: Theme.secondary
                        }
                    }

                    Menu {
                        id: statusMenu
                        objectName: "statusMenuPopup"
                        y: statusMenuButton.height

                        Instantiator {
                            model: pane.detail.transitions
                            delegate: MenuItem {
                                required property var modelData
                                // "…": this one asks for more before it is done.
                                text: modelData.name + (modelData.hasFields ? "…" : "")
                                onTriggered: pane.detail.chooseTransition(modelData.id)
                                Accessible.onPressAction: {
                                    statusMenu.dismiss();
                                    pane.detail.chooseTransition(modelData.id);
                                }
                            }
                            onObjectAdded: (index, object) => statusMenu.insertItem(index, object)
                            onObjectRemoved: (index, object) => statusMenu.removeItem(object)
                        }
                        MenuItem {
                            visible: pane.detail.menuPlaceholder.length > 0
                            Accessible.ignored: !visible
                            height: visible ? implicitHeight : 0
                            enabled: false
                            text: pane.detail.menuPlaceholder
                        }
                    }
                }

                // The priority, chosen again in place.
                Button {
                    id: priorityButton
                    objectName: "priorityButton"
                    flat: true
                    padding: 2
                    visible: pane.detail.hasPriority
                    Accessible.ignored: !visible
                    Accessible.name: qsTr("Priority: %1").arg(pane.detail.priorityName)
                    // The menu made when first asked for.
                    function openMenu() {
                        pane.detail.editInPlace("priority");
                        if (!priorityMenu.item)
                            priorityMenu.setSource("qrc:/Tessarin/Detail/PriorityMenu.qml", { detail: pane.detail });
                        (priorityMenu.item as PriorityMenu).open();
                    }
                    onClicked: openMenu()
                    Accessible.onPressAction: openMenu()
                    contentItem: Label {
                        text: pane.detail.priorityName
                        textFormat: Text.PlainText
                        font.pixelSize: 12
                        color: { Theme.isDark; return Theme.priorityColor(pane.detail.priorityName); }
                        leftPadding: 16
                        IconImage { anchors.verticalCenter: parent.verticalCenter; name: "flag"; sourceSize.width: 12; sourceSize.height: 12; color: parent.color }
                    }
                    Loader {
                        id: priorityMenu
                        y: priorityButton.height
                    }
                }
                Button {
                    id: assigneeButton
                    objectName: "assigneeButton"
                    flat: true
                    padding: 2
                    enabled: !pane.detail.isAssigning
                    Accessible.name: qsTr("Assignee: %1").arg(pane.detail.hasAssignee ? pane.detail.assigneeName : qsTr("Unassigned"))
                    // Made when first asked for: most panes are only read.
                    function openPopup() { assignLoader.active = true; assignLoader.item.open(); }

                    onClicked: openPopup()
                    Accessible.onPressAction: openPopup()
                    contentItem: Label {
                        text: pane.detail.hasAssignee ? pane.detail.assigneeName : qsTr("Unassigned")
                        textFormat: Text.PlainText
                        font.pixelSize: 12
                        color: Theme.secondary
                        leftPadding: 16
                        IconImage { anchors.verticalCenter: parent.verticalCenter; name: "user"; sourceSize.width: 12; sourceSize.height: 12; color: Theme.secondary }
                    }

                    Loader {
                        id: assignLoader
                        active: false
                        sourceComponent: Popup {
                            id: assignPopup
                            objectName: "assignPopup"
                            y: assigneeButton.height
                            width: 300
                            padding: 8
                            focus: true
                            onOpened: assigneeSearch.forceActiveFocus()
                            onClosed: { assigneeSearch.text = ""; pane.detail.assignees.clear(); }
                            contentItem: ColumnLayout {
                                spacing: 2
                                ItemDelegate {
                                    objectName: "assignToMe"
                                    Layout.fillWidth: true
                                    text: qsTr("Assign to Me")
                                    onClicked: { assignPopup.close(); pane.detail.assignToMe(); }
                                    Accessible.onPressAction: { assignPopup.close(); pane.detail.assignToMe(); }
                                }
                                ItemDelegate {
                                    objectName: "unassign"
                                    Layout.fillWidth: true
                                    text: qsTr("Unassigned")
                                    onClicked: { assignPopup.close(); pane.detail.assign(""); }
                                    Accessible.onPressAction: { assignPopup.close(); pane.detail.assign(""); }
                                }
                                TextField {
                                    id: assigneeSearch
                                    objectName: "assigneeSearch"
                                    Layout.fillWidth: true
                                    placeholderText: qsTr("Find a person")
                                    Accessible.name: qsTr("Find a person to assign")
                                    onTextEdited: pane.detail.assignees.lookUp(text)
                                    Keys.onDownPressed: if (assigneeList.count > 0) assigneeList.itemAt(0).forceActiveFocus()
                                }
                                Repeater {
                                    id: assigneeList
                                    model: pane.detail.assignees.suggestions
                                    delegate: ItemDelegate {
                                        required property int index
                                        required property var modelData
                                        objectName: "assigneeSuggestion"
                                        Layout.fillWidth: true
                                        text: modelData.displayName
                                        Accessible.name: modelData.displayName
                                        onClicked: { pane.detail.assignTo(index); assignPopup.close(); }
                                        Accessible.onPressAction: { pane.detail.assignTo(index); assignPopup.close(); }
                                        Keys.onReturnPressed: { pane.detail.assignTo(index); assignPopup.close(); }
                                        Keys.onDownPressed: if (index + 1 < assigneeList.count) assigneeList.itemAt(index + 1).forceActiveFocus()
                                        Keys.onUpPressed: index > 0 ? assigneeList.itemAt(index - 1).forceActiveFocus() : assigneeSearch.forceActiveFocus()
                                    }
                                }
                            }
                        }
                    }
                }
                Label {
                    visible: pane.detail.hasDueDate
                    Accessible.ignored: !visible
                    text: qsTr("Due %1").arg(pane.detail.dueDate)
                    textFormat: Text.PlainText
                    height: statusMenuButton.height
                    verticalAlignment: Text.AlignVCenter

                    font.pixelSize: 12
                    color: Theme.secondary
                    leftPadding: 16
                    IconImage { anchors.verticalCenter: parent.verticalCenter; name: "view-calendar"; sourceSize.width: 12; sourceSize.height: 12; color: Theme.secondary }
                }
                Label {
                    objectName: "notInList"
                    visible: !pane.detail.inList
                    Accessible.ignored: !visible
                    text: qsTr("Not in the current list")
                    height: statusMenuButton.height
                    verticalAlignment: Text.AlignVCenter
                    font.pixelSize: 12
                    color: Theme.orange
                    leftPadding: 18
                    IconImage { anchors.verticalCenter: parent.verticalCenter; name: "dialog-information"; sourceSize.width: 14; sourceSize.height: 14; color: Theme.orange }
                }
                Button {
                    objectName: "watchIssue"
                    flat: true
                    visible: pane.detail.watch.isKnown
                    Accessible.ignored: !visible
                    enabled: !pane.detail.watch.isBusy
                    text: pane.detail.watch.actionText
                    icon.name: pane.detail.watch.isWatching ? "view-hidden" : "view-visible"
                    display: AbstractButton.TextBesideIcon
                    Accessible.name: pane.detail.watch.actionText
                    Accessible.description: pane.detail.watch.countText
                    onClicked: pane.detail.watch.toggle()
                    Accessible.onPressAction: pane.detail.watch.toggle()
                }
                Label {
                    objectName: "watchCount"
                    visible: pane.detail.watch.isKnown
                    Accessible.ignored: true // the button's description says it
                    text: pane.detail.watch.countText
                    height: statusMenuButton.height
                    verticalAlignment: Text.AlignVCenter
                    font.pixelSize: 12
                    color: Theme.secondary
                }
            }

            Label {
                objectName: "transitionError"
                visible: pane.detail.errorMessage.length > 0
                Accessible.ignored: !visible
                Layout.fillWidth: true
                text: pane.detail.errorText
                textFormat: Text.PlainText
                font.pixelSize: 12
                color: Theme.red
                wrapMode: Text.Wrap
            }
            Label {
                objectName: "watchError"
                visible: pane.detail.watch.error.length > 0
                Accessible.ignored: !visible
                Layout.fillWidth: true
                text: pane.detail.watch.error
                textFormat: Text.PlainText
                font.pixelSize: 12
                color: Theme.red
                wrapMode: Text.Wrap
            }
            Label {
                objectName: "assignError"
                visible: pane.detail.assignError.length > 0
                Accessible.ignored: !visible
                Layout.fillWidth: true
                text: pane.detail.assignError
                textFormat: Text.PlainText
                font.pixelSize: 12
                color: Theme.red
                wrapMode: Text.Wrap
            }
            Label {
                objectName: "timeTracking"
                visible: pane.detail.timeTrackingText.length > 0
                Accessible.ignored: !visible
                text: pane.detail.timeTrackingText
                textFormat: Text.PlainText
                font.pixelSize: 12
                color: Theme.secondary
            }
            Loader {
                Layout.fillWidth: true
                active: pane.detail.workLog !== null
                visible: active
                sourceComponent: WorkLogView {
                    form: pane.detail.workLog
                    onClosed: pane.detail.closeWorkLog()
                }
            }
        }

        Rectangle { Layout.fillWidth: true; Layout.leftMargin: 24; Layout.rightMargin: 24; implicitHeight: 1; color: Theme.separator }

        // The edit of all the issue's fields, over the pane, made when asked for (Edit…), or when an edit
        // in place meets someone else's change or Jira's refusal.
        Loader {
            id: editFormLoader
            objectName: "editFormLoader"
            visible: false // holds a popup, takes no room
            active: pane.detail.editFormShown
            onActiveChanged: {
                if (active)
                    setSource("qrc:/Tessarin/Forms/EditIssueView.qml", { parent: pane, form: pane.detail.edit });
                else
                    source = "";
            }
            onLoaded: (editFormLoader.item as EditIssueView).open()
        }
        Connections {
            target: editFormLoader.item as EditIssueView
            function onCancelled() { pane.detail.closeEdit(); }
        }

        // The form of a transition that asks for fields, over the pane. Named by its file, so that it is
        // compiled when first asked for, not with every pane at start-up.
        Loader {
            objectName: "transitionFormLoader"
            visible: false // holds a popup, takes no room
            active: pane.detail.form !== null
            // Forgotten when closed: reactivated with a source, the loader would make the view without its form.
            onActiveChanged: {
                if (active)
                    setSource("qrc:/Tessarin/Forms/TransitionFormView.qml", { parent: pane, form: pane.detail.form });
                else
                    source = "";
            }
            onLoaded: {
                item.cancelled.connect(pane.detail.closeForm);
                item.openInJiraRequested.connect(pane.detail.openInJira);
                item.open();
            }
        }

        // The confirmation of a deletion, made when first asked for; in the layout, since the scroll
        // view takes its one item as its content.
        QtObject {
            id: deleteConfirmation
            function ask(id) {
                deleteLoader.active = true;
                deleteLoader.item.commentId = id;
                deleteLoader.item.open();
                deleteLoader.item.forceActiveFocus(); // so that Escape reaches it
            }
        }
        Loader {
            id: deleteLoader
            visible: false
            active: false
            sourceComponent: Dialog {
                objectName: "deleteConfirmation"
                focus: true
                property string commentId
                parent: Overlay.overlay
                anchors.centerIn: parent
                modal: true
                title: qsTr("Delete this comment?")
                Label { text: qsTr("The comment is removed from Jira for everyone.") }
                standardButtons: Dialog.Cancel | Dialog.Ok
                onAccepted: pane.detail.deleteComment(commentId)
                Component.onCompleted: standardButton(Dialog.Ok).text = qsTr("Delete")
            }
        }

        // Description
        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            spacing: 6
            Label { text: qsTr("Description"); font.pixelSize: 12; font.weight: Font.DemiBold; color: Theme.secondary }
            RichTextView {
                objectName: "description"
                Layout.fillWidth: true
                visible: pane.detail.hasDescription
                Accessible.ignored: !visible
                text: pane.detail.descriptionText
                isRich: pane.detail.descriptionIsRich
                detail: pane.detail
            }
            Label {
                visible: !pane.detail.hasDescription
                Accessible.ignored: !visible
                text: qsTr("No description.")
                color: Theme.secondary
            }
        }

        RelationsSection {
            Layout.fillWidth: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            relations: pane.detail.relations
            onOpenIssue: key => pane.detail.openIssue(key)
            onLinkIssue: pane.detail.openLinkForm()
        }
        // "Link Issue…", made when first asked for.
        Loader {
            id: linkDialog
            active: pane.detail.linkForm !== null
            onLoaded: item.open()
            sourceComponent: LinkIssueDialog {
                parent: Overlay.overlay
                form: pane.detail.linkForm
                onClosed: pane.detail.closeLinkForm()
            }
        }

        AttachmentsSection {
            Layout.fillWidth: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            attachments: pane.detail.attachments
        }

        Rectangle { Layout.fillWidth: true; Layout.leftMargin: 24; Layout.rightMargin: 24; implicitHeight: 1; color: Theme.separator }

        // Comments
        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            Layout.bottomMargin: 24
            spacing: 10
            Label {
                objectName: "commentsHeading"; font.pixelSize: 12; font.weight: Font.DemiBold; color: Theme.secondary
                text: pane.detail.comments.length > 0 ? qsTr("%n comment(s)", "", pane.detail.comments.length) : qsTr("Comments")
            }
            Spinner {
                visible: pane.detail.isLoadingComments && pane.detail.comments.length === 0
                Layout.preferredWidth: 20
                Layout.preferredHeight: 20
            }
            Label {
                objectName: "noComments"
                visible: !pane.detail.isLoadingComments && pane.detail.comments.length === 0
                Accessible.ignored: !visible
                text: pane.detail.commentsUnavailable ? qsTr("Comments could not be loaded.") : qsTr("No comments.")
                font.pixelSize: 12
                color: Theme.secondary
            }
            Repeater {
                model: pane.detail.comments
                // Plain items placed by anchors: fifty comments make fifty of these.
                delegate: Rectangle {
                    id: card
                    required property var modelData
                    readonly property bool isOwn: { pane.detail.myName; return pane.detail.isOwnComment(card.modelData.id); }
                    readonly property bool editing: pane.detail.commentEdit !== null
                                                    && pane.detail.commentEdit.commentId === card.modelData.id
                    readonly property bool failed: card.isOwn && pane.detail.commentActionErrorId === card.modelData.id
                    Layout.fillWidth: true
                    implicitHeight: author.height + (editing ? editLoader.height : body.height)
                                    + (failed ? actionError.height + 4 : 0) + 24
                    radius: 8
                    color: Qt.rgba(Theme.gray.r, Theme.gray.g, Theme.gray.b, 0.08)

                    Text {
                        id: author
                        anchors.left: parent.left
                        anchors.top: parent.top
                        anchors.margins: 10
                        text: card.modelData.author
                        textFormat: Text.PlainText
                        font.pixelSize: 12
                        font.weight: Font.DemiBold
                        color: pane.palette.windowText
                    }
                    // Only the user's own comments have these: fifty cards of others' carry no buttons.
                    Loader {
                        anchors.right: created.left
                        anchors.rightMargin: 4
                        anchors.verticalCenter: author.verticalCenter
                        active: card.isOwn && !card.editing
                        visible: active
                        sourceComponent: Row {
                            Button {
                                objectName: "editComment"
                                flat: true
                                padding: 2
                                text: qsTr("Edit")
                                font.pixelSize: 11
                                Accessible.name: qsTr("Edit comment")
                                onClicked: pane.detail.editComment(card.modelData.id)
                                Accessible.onPressAction: pane.detail.editComment(card.modelData.id)
                            }
                            Button {
                                objectName: "deleteComment"
                                enabled: pane.detail.busyCommentId.length === 0
                                flat: true
                                padding: 2
                                text: qsTr("Delete")
                                font.pixelSize: 11
                                Accessible.name: qsTr("Delete comment")
                                onClicked: deleteConfirmation.ask(card.modelData.id)
                                Accessible.onPressAction: deleteConfirmation.ask(card.modelData.id)
                            }
                        }
                    }
                    Text {
                        id: created
                        anchors.right: parent.right
                        anchors.rightMargin: 10
                        anchors.verticalCenter: author.verticalCenter
                        text: Theme.relativeTimeString(card.modelData.created, Clock.now)
                        font.pixelSize: 11
                        color: Theme.secondary
                    }
                    RichTextView {
                        id: body
                        objectName: "commentBody"
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.top: author.bottom
                        anchors.leftMargin: 10
                        anchors.rightMargin: 10
                        anchors.topMargin: 4
                        visible: !card.editing
                        Accessible.ignored: !visible
                        text: card.modelData.body
                        isRich: card.modelData.bodyIsRich
                        detail: pane.detail
                        font.pixelSize: 13
                    }
                    Loader {
                        id: editLoader
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.top: author.bottom
                        anchors.leftMargin: 10
                        anchors.rightMargin: 10
                        anchors.topMargin: 4
                        active: card.editing
                        visible: active
                        sourceComponent: CommentEditorView {
                            editor: pane.detail.commentEdit
                            postText: qsTr("Save")
                            accessibleName: qsTr("Edit comment")
                            canClose: true
                            startsFocused: true
                            onClosed: pane.detail.closeCommentEdit()
                        }
                    }
                    Text {
                        id: actionError
                        objectName: "commentActionError"
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.top: card.editing ? editLoader.bottom : body.bottom
                        anchors.leftMargin: 10
                        anchors.rightMargin: 10
                        anchors.topMargin: 4
                        visible: card.failed
                        Accessible.ignored: !visible
                        text: pane.detail.commentActionError
                        textFormat: Text.PlainText
                        color: Theme.red
                        wrapMode: Text.Wrap
                        font.pixelSize: 12
                    }
                }
            }

            CommentEditorView {
                Layout.fillWidth: true
                Layout.topMargin: 6
                editor: pane.detail.composer
            }
        }
    }
}
