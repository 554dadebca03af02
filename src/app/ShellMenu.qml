// A menu of the menu bar, as wide as its widest item: Qt 6.4's menus keep their background's width
// whatever their items hold, which cut off longer words than English's.
import QtQuick
import QtQuick.Controls

Menu {
    id: menu
    contentWidth: {
        var widest = 0;
        for (var i = 0; i < menu.count; ++i)
            widest = Math.max(widest, menu.itemAt(i).implicitWidth);
        return widest;
    }
}
