// The settings window's Data page: what Tessarin keeps on this computer and where. The last lists and
// the attachments opened are cached, to show at once at the next start; drafts of what was typed stay
// until Jira has them.
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessarin.Core
import Tessarin.Settings

ColumnLayout {
    id: page

    required property SettingsController controller
    onVisibleChanged: if (visible) controller.countDrafts()

    spacing: 8

    Label {
        id: cacheText
        Layout.fillWidth: true
        text: qsTr("The last lists received and the attachments opened are kept in %1, readable by you alone.")
              .arg(page.controller.cacheFolder)
        wrapMode: Text.WrapAtWordBoundaryOrAnywhere
        font.pixelSize: 12
    }
    RowLayout {
        spacing: 10
        Button {
            objectName: "clearCacheButton"
            text: qsTr("Clear Cached Data")
            onClicked: page.controller.clearCachedData()
            Accessible.name: text
            Accessible.description: cacheText.text
        }
        Label {
            objectName: "cacheResult"
            visible: text !== ""
            Accessible.ignored: !visible
            text: page.controller.cacheText
            font.pixelSize: 12
            color: Theme.secondary
        }
    }
    Label {
        objectName: "draftsText"
        Layout.fillWidth: true
        Layout.topMargin: 10
        text: page.controller.draftCount > 0
              ? qsTr("%n draft(s) of comments, work logs and forms wait in %1 until Jira has them.", "",
                     page.controller.draftCount).arg(page.controller.draftsFolder)
              : qsTr("Drafts of comments, work logs and forms are kept in %1 until Jira has them.")
                .arg(page.controller.draftsFolder)
        wrapMode: Text.WrapAtWordBoundaryOrAnywhere
        font.pixelSize: 12
    }
    Item {
        Layout.fillHeight: true
    }
}
