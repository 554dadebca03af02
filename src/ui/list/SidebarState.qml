// One of the sidebar's states other than the list (unconfigured, loading, error, empty): made when
// first shown, then kept, so that a state never seen costs nothing and one seen again is not made
// afresh (its icon would churn Qt's image cache).
import QtQuick

Loader {
    id: state

    required property bool current

    active: false
    onCurrentChanged: if (current) state.active = true
    Component.onCompleted: state.active = current
}
