#include "SealedSession.h"

#include "app/Translations.h"

#include <QString>

void requireSealedSession()
{
    if (qEnvironmentVariable("TESSARIN_TEST_SESSION") != QLatin1String("1"))
        qFatal("Run the tests through ctest or scripts/test-session.sh: they write settings and keyring items.");
    // The texts tests compare are English whatever the machine's language, with English plurals
    // ("1 issue", "2 issues") as the program's English catalogue gives them.
    Translations::install(QStringLiteral("en"));
}
