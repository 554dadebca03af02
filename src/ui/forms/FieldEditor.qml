// One field of a form made from a Jira screen (a transition's, a create screen): its name (marked when
// required), the editor its kind needs, and what Jira said about it.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Forms

ColumnLayout {
    id: editor

    required property FormField modelData

    signal openInJiraRequested()
    // Enter in a one-line editor, Ctrl+Enter in a multi-line one.
    signal sendRequested()

    readonly property FormField field: modelData
    readonly property string accessibleName: field.name + (field.required ? ", required" : "")

    spacing: 4

    // Keyboard focus to the editor (its text field where it has one).
    function focusEditor() {
        if (kindEditor.item.focusEditor)
            kindEditor.item.focusEditor();
        else
            kindEditor.item.forceActiveFocus();
    }

    Label {
        text: editor.field.name + (editor.field.required ? " *" : "")
        textFormat: Text.PlainText
        font.pixelSize: 12
        font.weight: Font.DemiBold
        color: editor.field.error.length > 0 ? Theme.red : palette.windowText
        Accessible.ignored: true
    }

    Loader {
        id: kindEditor
        Layout.fillWidth: true
        sourceComponent: {
            switch (editor.field.kind) {
            case "choice": return choiceEditor;
            case "multiChoice": return multiChoiceEditor;
            case "user": return userEditor;
            case "multiLineText": case "comment": return multiLineEditor;
            case "date": case "dateTime": return dateEditor;
            case "unsupported": return unsupportedEditor;
            default: return textEditor;
            }
        }
    }

    Label {
        objectName: "fieldError"
        visible: editor.field.error.length > 0
        Accessible.ignored: !visible
        Layout.fillWidth: true
        text: editor.field.error
        textFormat: Text.PlainText
        font.pixelSize: 11
        color: Theme.red
        wrapMode: Text.Wrap
    }

    Component {
        id: textEditor
        TextField {
            objectName: "fieldEditor"
            text: editor.field.text
            onTextEdited: editor.field.text = text
            placeholderText: editor.field.kind === "labels" ? qsTr("Words separated by spaces")
                           : editor.field.kind === "number" ? qsTr("A number") : ""
            inputMethodHints: editor.field.kind === "number" ? Qt.ImhFormattedNumbersOnly : Qt.ImhNone
            Accessible.name: editor.accessibleName
            Accessible.description: editor.field.error
        }
    }

    Component {
        id: multiLineEditor
        TextArea {
            objectName: "fieldEditor"
            text: editor.field.text
            onTextChanged: if (text !== editor.field.text) editor.field.text = text
            wrapMode: TextEdit.Wrap
            textFormat: TextEdit.PlainText
            implicitHeight: Math.max(72, contentHeight + topPadding + bottomPadding)
            placeholderText: editor.field.kind === "comment" ? qsTr("Jira wiki markup; Ctrl+Enter sends") : ""
            background: Rectangle {
                color: palette.base
                border.color: parent.activeFocus ? palette.highlight : Theme.separator
                radius: 2
            }
            Accessible.name: editor.accessibleName
            Accessible.description: editor.field.error
            // Enter is a new line here; Ctrl+Enter sends. Tab leaves the editor.
            Keys.onPressed: (event) => {
                if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && (event.modifiers & Qt.ControlModifier)) {
                    editor.sendRequested();
                    event.accepted = true;
                } else if (event.key === Qt.Key_Tab || event.key === Qt.Key_Backtab) {
                    const next = nextItemInFocusChain(event.key === Qt.Key_Tab);
                    if (next)
                        next.forceActiveFocus(event.key === Qt.Key_Tab ? Qt.TabFocusReason : Qt.BacktabFocusReason);
                    event.accepted = true;
                }
            }
        }
    }

    Component {
        id: choiceEditor
        ComboBox {
            objectName: "fieldEditor"
            // An optional field can be left without a value.
            readonly property int offset: editor.field.required ? 0 : 1
            model: editor.field.required ? editor.field.options : [qsTr("None")].concat(editor.field.options)
            currentIndex: editor.field.choice + offset
            displayText: currentIndex < 0 ? qsTr("Choose…") : currentText
            onActivated: (index) => editor.field.choice = index - offset
            // A closed list lets Enter send the form, as every other editor does.
            Keys.onReturnPressed: (event) => { if (popup.visible) event.accepted = false; else editor.sendRequested(); }
            Keys.onEnterPressed: (event) => { if (popup.visible) event.accepted = false; else editor.sendRequested(); }
            Accessible.name: editor.accessibleName
            Accessible.description: editor.field.error
        }
    }

    Component {
        id: multiChoiceEditor
        Flow {
            spacing: 8
            function focusEditor() { if (children.length > 0) children[0].forceActiveFocus(); }
            Accessible.role: Accessible.Grouping
            Accessible.name: editor.accessibleName
            Accessible.description: editor.field.error
            Repeater {
                model: editor.field.options
                delegate: CheckBox {
                    required property int index
                    required property string modelData
                    objectName: "fieldOption"
                    text: modelData
                    checked: editor.field.chosen[index] === true
                    onToggled: editor.field.setChosen(index, checked)
                    Accessible.name: modelData
                }
            }
        }
    }

    Component {
        id: userEditor
        ColumnLayout {
            spacing: 2
            function focusEditor() { userText.forceActiveFocus(); }
            TextField {
                id: userText
                objectName: "fieldEditor"
                Layout.fillWidth: true
                text: editor.field.text
                placeholderText: qsTr("Type a name")
                onTextEdited: editor.field.lookUpUsers(text)
                Keys.onDownPressed: if (suggestionList.count > 0) suggestionList.itemAt(0).forceActiveFocus()
                Accessible.name: editor.accessibleName
                Accessible.description: editor.field.error
            }
            Repeater {
                id: suggestionList
                model: editor.field.suggestions
                delegate: ItemDelegate {
                    required property int index
                    required property var modelData
                    objectName: "userSuggestion"
                    Layout.fillWidth: true
                    text: modelData.displayName + " — " + modelData.detail
                    Accessible.name: modelData.displayName
                    onClicked: { editor.field.chooseUser(index); userText.forceActiveFocus(); }
                    Accessible.onPressAction: editor.field.chooseUser(index)
                    Keys.onReturnPressed: { editor.field.chooseUser(index); userText.forceActiveFocus(); }
                    Keys.onEnterPressed: { editor.field.chooseUser(index); userText.forceActiveFocus(); }
                    Keys.onDownPressed: if (index + 1 < suggestionList.count) suggestionList.itemAt(index + 1).forceActiveFocus()
                    Keys.onUpPressed: index > 0 ? suggestionList.itemAt(index - 1).forceActiveFocus() : userText.forceActiveFocus()
                }
            }
        }
    }

    Component {
        id: dateEditor
        RowLayout {
            spacing: 4
            function focusEditor() { dateText.forceActiveFocus(); }
            readonly property bool withTime: editor.field.kind === "dateTime"
            TextField {
                id: dateText
                objectName: "fieldEditor"
                Layout.fillWidth: true
                text: editor.field.text
                onTextEdited: editor.field.text = text
                placeholderText: parent.withTime ? qsTr("YYYY-MM-DD HH:MM", "the form a date and time is typed in") : qsTr("YYYY-MM-DD", "the form a date is typed in")
                Accessible.name: editor.accessibleName
                Accessible.description: editor.field.error
            }
            Button {
                id: calendarButton
                objectName: "calendarButton"
                icon.name: "view-calendar"
                display: Theme.hasIcon(icon.name) ? AbstractButton.IconOnly : AbstractButton.TextOnly
                Layout.preferredWidth: display === AbstractButton.IconOnly ? implicitHeight + 8 : implicitWidth
                text: qsTr("Choose a date")
                Accessible.name: qsTr("Choose a date for %1").arg(editor.field.name)
                onClicked: calendar.open()
                Accessible.onPressAction: calendar.open()
            }
            Popup {
                id: calendar
                y: calendarButton.y + calendarButton.height
                x: calendarButton.x + calendarButton.width - width
                padding: 8
                margins: 8 // inside the window: above the button when there is no room below
                // The month shown: the field's date, else today's.
                property date shown: {
                    const typed = Date.fromLocaleString(Qt.locale("C"), editor.field.text.substring(0, 10), "yyyy-MM-dd");
                    return isNaN(typed.getTime()) ? new Date() : typed;
                }
                contentItem: ColumnLayout {
                    RowLayout {
                        Button {
                            flat: true; text: qsTr("‹"); Accessible.name: qsTr("Previous month")
                            onClicked: calendar.shown = new Date(grid.year, grid.month - 1, 1)
                        }
                        Label {
                            Layout.fillWidth: true
                            horizontalAlignment: Text.AlignHCenter
                            text: grid.title
                        }
                        Button {
                            flat: true; text: qsTr("›"); Accessible.name: qsTr("Next month")
                            onClicked: calendar.shown = new Date(grid.year, grid.month + 1, 1)
                        }
                    }
                    DayOfWeekRow { Layout.fillWidth: true; locale: grid.locale }
                    MonthGrid {
                        id: grid
                        Layout.fillWidth: true
                        month: calendar.shown.getMonth()
                        year: calendar.shown.getFullYear()
                        onClicked: (date) => {
                            const day = Qt.formatDate(date, "yyyy-MM-dd");
                            const time = editor.field.text.length > 11 ? editor.field.text.substring(11) : "09:00";
                            editor.field.text = editor.field.kind === "dateTime" ? day + " " + time : day;
                            calendar.close();
                            dateText.forceActiveFocus();
                        }
                    }
                }
            }
        }
    }

    Component {
        id: unsupportedEditor
        RowLayout {
            Label {
                Layout.fillWidth: true
                text: qsTr("Set this field in Jira")
                color: Theme.secondary
            }
            Button {
                objectName: "openFieldInJira"
                text: qsTr("Open in Jira")
                icon.name: "document-open-remote"
                Accessible.name: qsTr("Open in Jira to set %1").arg(editor.field.name)
                onClicked: editor.openInJiraRequested()
                Accessible.onPressAction: editor.openInJiraRequested()
            }
        }
    }
}
