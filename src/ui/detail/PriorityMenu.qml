// The priorities Jira offers for an issue, to choose one in place. Filled once the issue's edit metadata
// is in.
pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Tessarin.Detail

Menu {
    id: menu
    objectName: "priorityMenu"

    required property TicketDetail detail

    Instantiator {
        model: menu.detail.editPriorities
        delegate: MenuItem {
            required property int index
            required property string modelData
            text: modelData
            onTriggered: menu.detail.savePriority(index)
            Accessible.onPressAction: {
                menu.dismiss();
                menu.detail.savePriority(index);
            }
        }
        onObjectAdded: (index, object) => menu.insertItem(index, object as MenuItem)
        onObjectRemoved: (index, object) => menu.removeItem(object as MenuItem)
    }
}
