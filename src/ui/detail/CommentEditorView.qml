// An editor of a comment: multi-line Jira wiki markup, "@" and letters offer users to mention,
// Ctrl+Enter posts. Used for a new comment and for an edit of one's own.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Common
import Tessarin.Core
import Tessarin.Detail

ColumnLayout {
    id: view

    required property CommentEditor editor
    // What the post button says: "Comment" or "Save".
    property string postText: qsTr("Comment", "the button that posts a comment")
    property string accessibleName: qsTr("New comment")
    // The edit of an existing comment can be left without discarding it.
    property bool canClose: false
    // An edit opened from its comment takes the keyboard at once.
    property bool startsFocused: false
    signal closed()

    // The suggestion the keyboard is on.
    property int highlighted: 0
    readonly property var suggestions: editor.mentions.suggestions

    spacing: 4
    onSuggestionsChanged: highlighted = 0

    function choose(index) {
        const cursor = view.editor.chooseMention(index, area.cursorPosition);
        area.text = view.editor.text;
        area.cursorPosition = cursor;
        area.forceActiveFocus();
    }

    TextArea {
        id: area
        objectName: "commentEditor"
        Layout.fillWidth: true
        Layout.preferredHeight: Math.max(64, contentHeight + topPadding + bottomPadding)
        wrapMode: TextEdit.Wrap
        textFormat: TextEdit.PlainText
        placeholderText: qsTr("Jira wiki markup; @ mentions someone; Ctrl+Enter posts")
        Accessible.name: view.accessibleName
        Accessible.description: view.editor.error
        background: Rectangle {
            color: palette.base
            border.color: area.activeFocus ? palette.highlight : Theme.separator
            radius: 2
        }
        Component.onCompleted: {
            text = view.editor.text;
            if (view.startsFocused) {
                cursorPosition = length;
                forceActiveFocus();
            }
        }
        onTextChanged: {
            if (text !== view.editor.text)
                view.editor.text = text;
            view.editor.updateMention(cursorPosition);
        }
        onCursorPositionChanged: view.editor.updateMention(cursorPosition)
        Keys.onPressed: (event) => {
            const picking = view.suggestions.length > 0;
            if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && (event.modifiers & Qt.ControlModifier)) {
                view.editor.post();
            } else if (picking && (event.key === Qt.Key_Return || event.key === Qt.Key_Enter || event.key === Qt.Key_Tab)) {
                view.choose(view.highlighted);
            } else if (picking && event.key === Qt.Key_Down) {
                view.highlighted = (view.highlighted + 1) % view.suggestions.length;
            } else if (picking && event.key === Qt.Key_Up) {
                view.highlighted = (view.highlighted + view.suggestions.length - 1) % view.suggestions.length;
            } else if (picking && event.key === Qt.Key_Escape) {
                view.editor.mentions.clear();
            } else if (event.key === Qt.Key_Tab || event.key === Qt.Key_Backtab) {
                const next = nextItemInFocusChain(event.key === Qt.Key_Tab);
                if (next)
                    next.forceActiveFocus(event.key === Qt.Key_Tab ? Qt.TabFocusReason : Qt.BacktabFocusReason);
            } else {
                return;
            }
            event.accepted = true;
        }
        Connections {
            target: view.editor
            // Posted or discarded: the editor's text is the model's again.
            function onTextChanged() { if (area.text !== view.editor.text) area.text = view.editor.text; }
        }
    }

    // The users to mention, under the editor while "@name" is typed.
    Rectangle {
        objectName: "mentionPicker"
        visible: view.suggestions.length > 0
        Accessible.ignored: !visible
        Accessible.role: Accessible.List
        Accessible.name: qsTr("People to mention")
        Layout.fillWidth: true
        implicitHeight: mentionColumn.implicitHeight + 4
        color: palette.base
        border.color: Theme.separator
        radius: 2
        Column {
            id: mentionColumn
            anchors.fill: parent
            anchors.margins: 2
            Repeater {
                model: view.suggestions
                delegate: ItemDelegate {
                    required property int index
                    required property var modelData
                    objectName: "mentionSuggestion"
                    width: mentionColumn.width
                    highlighted: index === view.highlighted
                    text: modelData.displayName + " — " + modelData.detail
                    Accessible.role: Accessible.ListItem
                    Accessible.name: modelData.displayName
                    Accessible.selected: highlighted
                    focusPolicy: Qt.NoFocus
                    onClicked: view.choose(index)
                    Accessible.onPressAction: view.choose(index)
                }
            }
        }
    }

    Label {
        objectName: "commentEditorError"
        visible: view.editor.error.length > 0
        Accessible.ignored: !visible
        Layout.fillWidth: true
        text: view.editor.error
        textFormat: Text.PlainText
        color: Theme.red
        wrapMode: Text.Wrap
        font.pixelSize: 12
    }

    RowLayout {
        Layout.fillWidth: true
        Label {
            visible: view.editor.hasDraft && !view.canClose
            Accessible.ignored: !visible
            text: qsTr("Draft")
            font.pixelSize: 11
            color: Theme.secondary
        }
        Item { Layout.fillWidth: true }
        Spinner {
            Layout.preferredWidth: 18
            Layout.preferredHeight: 18
            visible: view.editor.isPosting
        }
        Button {
            objectName: "discardComment"
            visible: view.editor.hasDraft || view.canClose
            Accessible.ignored: !visible
            flat: true
            text: view.canClose ? qsTr("Cancel") : qsTr("Discard")
            Accessible.name: text
            enabled: !view.editor.isPosting
            onClicked: { view.editor.discard(); view.closed(); }
            Accessible.onPressAction: { view.editor.discard(); view.closed(); }
        }
        Button {
            objectName: "postComment"
            text: view.postText
            Accessible.name: text
            enabled: !view.editor.isPosting && view.editor.text.trim().length > 0
            onClicked: view.editor.post()
            Accessible.onPressAction: if (enabled) view.editor.post()
        }
    }
}
