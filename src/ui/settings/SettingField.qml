// A text field of the settings window that a screen reader describes by its row's help. Qt's own text
// field puts its placeholder in the description once a screen reader is running, over the one given: the
// help is put back then. (A password field has no name on the accessibility bus in Qt 6.4, and keeps
// its placeholder as the words it is known by.)
import QtQuick
import QtQuick.Controls

TextField {
    id: field

    required property string help

    Accessible.description: help
    Accessible.onDescriptionChanged: if (field.Accessible.description !== field.help) field.Accessible.description = field.help
    onHelpChanged: Accessible.description = help
}
