// A menu bar's item that a screen reader knows as a menu and can open with its Press action.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls

MenuBarItem {
    id: item
    Accessible.role: Accessible.MenuItem
    Accessible.name: menu ? menu.title : ""
    Accessible.onPressAction: item.triggered()
}
