#include <hovrel.h>

#include <stdio.h>
#include <string.h>

static int failures = 0;

static void expect_text(HV_Result code, const char* text) {
    if (strcmp(HV_ResultText(code), text) != 0) {
        printf("HV_ResultText(%d) is \"%s\", not \"%s\"\n", (int)code, HV_ResultText(code), text);
        ++failures;
    }
}

static void expect_order(const char* a, const char* b, int32_t expected) {
    int32_t order = 99;
    HV_Result result = HV_CompareVersion(a, b, &order);
    if (result != HV_Ok || order != expected) {
        printf("HV_CompareVersion(%s, %s) gave %d and %d, not 0 and %d\n", a, b, (int)result,
               (int)order, (int)expected);
        ++failures;
    }
}

int main(void) {
    int32_t untouched = 7;
    expect_text(HV_Ok, "OK");
    expect_text(HV_HashMismatch, "sha256 mismatch (corrupt or tampered)");
    expect_text(-1, "internal error");
    expect_order("1.10", "1.9", 1);
    expect_order("1.2", "1.2.0", -1);
    expect_order("1.02", "1.2", 0);
    if (HV_CompareVersion(NULL, "1", &untouched) != HV_BadArgument || untouched != 7) {
        printf("HV_CompareVersion(NULL, ...) was not refused\n");
        ++failures;
    }
    printf(failures == 0 ? "consumer: ok\n" : "consumer: %d failures\n", failures);
    return failures == 0 ? 0 : 1;
}
