#pragma once
// Refuses to run a test outside the sealed session of scripts/test-session.sh, so a test started by
// hand can never write to the user's own settings or keyring. Then speaks English, as the program does
// for a user whose language it has no catalogue for.

void requireSealedSession();
