#pragma once
// Which of its five contents the sidebar shows.

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace SidebarContent {
Q_NAMESPACE
QML_ELEMENT

enum Kind {
    Unconfigured,
    Loading,
    Error,
    Empty,
    List,
};
Q_ENUM_NS(Kind)

// The first rule that holds wins: a running refresh or a failure shows only while no issue is listed,
// so a list on screen stays there through both.
[[nodiscard]] constexpr Kind choose(bool isConfigured, bool hasTickets, bool isLoading, bool hasError,
                                    bool hasFilteredTickets)
{
    if (!isConfigured)
        return Unconfigured;
    if (!hasTickets && isLoading)
        return Loading;
    if (hasError && !hasTickets)
        return Error;
    if (!hasFilteredTickets)
        return Empty;
    return List;
}

} // namespace SidebarContent
