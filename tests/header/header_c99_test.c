/* Uses the public header from C, as a C host would, and links to the library. */
#include "hovrel.h"

#include <stdio.h>
#include <string.h>

static void HV_CALL on_progress(uint64_t received, uint64_t total, void* userData) {
    *(uint64_t*)userData = received + total;
}

/* The header's version macros against project(VERSION), which the build
   passes in as HOVREL_PROJECT_VERSION*. */
static int version_matches_project(void) {
    const long expected_number = HOVREL_PROJECT_VERSION_MAJOR * 1000000L +
                                 HOVREL_PROJECT_VERSION_MINOR * 1000L +
                                 HOVREL_PROJECT_VERSION_PATCH;
    if (HOVREL_VERSION_MAJOR == HOVREL_PROJECT_VERSION_MAJOR &&
        HOVREL_VERSION_MINOR == HOVREL_PROJECT_VERSION_MINOR &&
        HOVREL_VERSION_PATCH == HOVREL_PROJECT_VERSION_PATCH &&
        HOVREL_VERSION_NUMBER == expected_number &&
        strcmp(HOVREL_VERSION, HOVREL_PROJECT_VERSION) == 0) {
        return 1;
    }
    printf("hovrel.h says %s (%d.%d.%d, %ld), project(VERSION) is %s: build the target "
           "hovrel_version_macros\n",
           HOVREL_VERSION, HOVREL_VERSION_MAJOR, HOVREL_VERSION_MINOR, HOVREL_VERSION_PATCH,
           (long)HOVREL_VERSION_NUMBER, HOVREL_PROJECT_VERSION);
    return 0;
}

int main(void) {
    HV_Manifest manifest;
    HV_ProgressCallback progress = on_progress;
    uint64_t seen = 0;
    const char* text = HV_ResultText(HV_Cancelled);
    memset(&manifest, 0, sizeof manifest);
    progress(1, 2, &seen);
    printf("HV_Manifest is %u bytes; HV_Cancelled reads \"%s\"\n", (unsigned)sizeof manifest, text);
    return version_matches_project() && seen == 3 && strcmp(text, "cancelled") == 0 ? 0 : 1;
}
