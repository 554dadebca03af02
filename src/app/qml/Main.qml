// The main window.
import QtQuick
import QtQuick.Controls

ApplicationWindow {
    id: window
    width: 1080
    height: 680
    visible: true
    title: "Tessarin 1.0"

    ContentView {
        anchors.fill: parent
    }
}
