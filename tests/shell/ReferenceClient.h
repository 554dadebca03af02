#pragma once
// What a client of its own reports for "who am I" with the same settings: the text the settings window
// must show after a failed connection test.

#include "client/JiraClient.h"
#include "settings/AppSettings.h"

#include <QTest>

#include <optional>

inline QString referenceErrorText(AppSettings *settings)
{
    JiraClient client(settings);
    std::optional<QString> text;
    client.fetchMyself(&client, [&](JiraResult<JiraUser> result) {
        text = result ? QStringLiteral("(succeeded)") : userFacingText(result.error());
    });
    if (!QTest::qWaitFor([&] { return text.has_value(); }, 10000))
        return QStringLiteral("(no answer)");
    return *text;
}
