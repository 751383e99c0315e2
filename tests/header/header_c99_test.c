/* Uses the public header from C, as a C host would, and links to the library. */
#include "hovrel.h"

#include <stdio.h>
#include <string.h>

static void HV_CALL on_progress(uint64_t received, uint64_t total, void* userData) {
    *(uint64_t*)userData = received + total;
}

int main(void) {
    HV_Manifest manifest;
    HV_ProgressCallback progress = on_progress;
    uint64_t seen = 0;
    const char* text = HV_ResultText(HV_Cancelled);
    memset(&manifest, 0, sizeof manifest);
    progress(1, 2, &seen);
    printf("HV_Manifest is %u bytes; HV_Cancelled reads \"%s\"\n", (unsigned)sizeof manifest, text);
    return seen == 3 && strcmp(text, "cancelled") == 0 ? 0 : 1;
}
