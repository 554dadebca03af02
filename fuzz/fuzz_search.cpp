// Any bytes as the body of a successful answer, decoded as JiraSearchResponse: a record or a decoding error,
// never a crash, a leak or undefined behaviour.

#include "FuzzSupport.h"
#include "client/JiraRecords.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startQtOnce();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const JiraResult<JiraSearchResponse> result = decodeJiraAnswer<JiraSearchResponse>(bytesOf(data, size));
    // Touch what a caller would read.
    if (result)
        (void)result.value();
    else
        (void)result.error().description();
    return 0;
}
