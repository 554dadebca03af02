// A field that takes an issue key, a link to an issue or words, with Jira's suggestions under it: Up and
// Down choose one, Enter or a click takes it (Enter with none chosen takes what was typed).
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Tessarin.Core
import Tessarin.Navigation

FocusScope {
    id: field

    required property IssuePicker picker
    property alias text: input.text
    property alias placeholderText: input.placeholderText
    property string accessibleName
    // The suggestion chosen, -1 for what was typed.
    property int row: -1
    signal accepted()

    function reset() {
        input.clear();
        field.row = -1;
        field.picker.clear();
    }

    implicitWidth: 460
    implicitHeight: input.implicitHeight + (list.count > 0 ? list.height + 6 : 0)

    TextField {
        id: input
        objectName: "issueField"
        width: parent.width
        focus: true
        selectByMouse: true
        Accessible.name: field.accessibleName
        onTextEdited: {
            field.row = -1;
            field.picker.search(text);
        }
        Keys.onDownPressed: field.row = Math.min(field.row + 1, list.count - 1)
        Keys.onUpPressed: field.row = Math.max(field.row - 1, -1)
        onAccepted: field.accepted()
    }

    ListView {
        id: list
        objectName: "issueSuggestions"
        anchors.top: input.bottom
        anchors.topMargin: 6
        width: parent.width
        height: Math.min(contentHeight, 260)
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: field.picker.suggestions
        currentIndex: field.row
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Suggested issues")
        delegate: Item {
            id: suggestion
            required property int index
            required property var modelData
            readonly property bool chosen: ListView.isCurrentItem
            width: list.width
            height: (modelData.startsSection ? 20 : 0) + 28
            Accessible.role: Accessible.ListItem
            Accessible.name: modelData.key + " " + modelData.summary
            Accessible.selected: chosen
            Accessible.onPressAction: { field.row = index; field.accepted(); }

            Text {
                id: sectionLabel
                visible: suggestion.modelData.startsSection
                y: 3
                x: 6
                text: suggestion.modelData.section
                textFormat: Text.PlainText
                font.pixelSize: 11
                font.weight: Font.DemiBold
                color: Theme.secondary
            }
            Rectangle {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: 28
                radius: 3
                color: suggestion.chosen ? Qt.rgba(Theme.accent.r, Theme.accent.g, Theme.accent.b, 0.22)
                       : hover.hovered ? Qt.rgba(0.5, 0.5, 0.5, 0.1) : "transparent"
                Text {
                    id: keyText
                    anchors.left: parent.left
                    anchors.leftMargin: 6
                    anchors.verticalCenter: parent.verticalCenter
                    width: 96
                    text: suggestion.modelData.key
                    textFormat: Text.PlainText
                    font.family: "monospace"
                    font.pixelSize: 12
                    font.bold: true
                    color: list.palette.text
                }
                Text {
                    anchors.left: keyText.right
                    anchors.right: parent.right
                    anchors.rightMargin: 6
                    anchors.verticalCenter: parent.verticalCenter
                    text: suggestion.modelData.summary
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    color: list.palette.text
                }
                HoverHandler { id: hover }
                TapHandler {
                    onTapped: {
                        field.row = suggestion.index;
                        field.accepted();
                    }
                }
            }
        }
    }
}
