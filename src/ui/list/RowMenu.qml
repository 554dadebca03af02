// A ticket row's context menu: copy the issue's key or its link, make a sub-task of it. Made when first
// asked for.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Tessarin.List

Menu {
    id: menu
    objectName: "rowMenu"

    property ContentController controller
    property string issueId

    function show(id: string, item: Item, x: real, y: real) {
        issueId = id;
        popup(item, x, y);
    }

    MenuItem {
        objectName: "copyKey"
        text: qsTr("Copy Key")
        onTriggered: menu.controller.copy(menu.issueId, ContentController.Key)
    }
    MenuItem {
        objectName: "copyLink"
        text: qsTr("Copy Link")
        onTriggered: menu.controller.copy(menu.issueId, ContentController.Link)
    }
    MenuSeparator {}
    MenuItem {
        objectName: "newSubtask"
        text: qsTr("New Sub-task…")
        onTriggered: menu.controller.requestNewIssue(menu.issueId)
    }
}
