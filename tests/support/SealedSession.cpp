#include "SealedSession.h"

#include <QString>

void requireSealedSession()
{
    if (qEnvironmentVariable("TESSARIN_TEST_SESSION") != QLatin1String("1"))
        qFatal("Run the tests through ctest or scripts/test-session.sh: they write settings and keyring items.");
}
