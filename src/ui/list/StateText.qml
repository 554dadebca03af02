// Words of a StateMessage: as wide as its column, wrapped, each line centred; less prominent than ordinary
// text unless they are the heading or what the user can do.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core

Label {
    // The state's title: larger and bold.
    property bool heading: false
    // In the less prominent colour; otherwise in ordinary text's.
    property bool secondary: !heading

    visible: text.length > 0
    Layout.fillWidth: true
    textFormat: Text.PlainText
    font.pixelSize: heading ? 15 : 12
    font.weight: heading ? Font.DemiBold : Font.Normal
    color: secondary ? Theme.secondary : palette.text
    wrapMode: Text.Wrap
    horizontalAlignment: Text.AlignHCenter
    Accessible.ignored: !visible
}
