#include <hovrel.h>

#include <windows.h>

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

/* The version resource of the Hovrel.dll this program loaded must be the
   version its header announces. */
static void expect_dll_version(void) {
    wchar_t path[MAX_PATH];
    static unsigned char info[4096];
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT fixed_size = 0;
    DWORD length = GetModuleFileNameW(GetModuleHandleW(L"Hovrel.dll"), path, MAX_PATH);
    if (length == 0 || length == MAX_PATH || !GetFileVersionInfoW(path, 0, sizeof info, info) ||
        !VerQueryValueW(info, L"\\", (void**)&fixed, &fixed_size) || fixed_size < sizeof *fixed) {
        printf("Hovrel.dll has no version resource\n");
        ++failures;
        return;
    }
    if (HIWORD(fixed->dwFileVersionMS) != HOVREL_VERSION_MAJOR ||
        LOWORD(fixed->dwFileVersionMS) != HOVREL_VERSION_MINOR ||
        HIWORD(fixed->dwFileVersionLS) != HOVREL_VERSION_PATCH ||
        LOWORD(fixed->dwFileVersionLS) != 0) {
        printf("Hovrel.dll is version %u.%u.%u.%u, hovrel.h says %s\n",
               (unsigned)HIWORD(fixed->dwFileVersionMS), (unsigned)LOWORD(fixed->dwFileVersionMS),
               (unsigned)HIWORD(fixed->dwFileVersionLS), (unsigned)LOWORD(fixed->dwFileVersionLS),
               HOVREL_VERSION);
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
    expect_dll_version();
    printf("consumer: Hovrel %s\n", HOVREL_VERSION);
    printf(failures == 0 ? "consumer: ok\n" : "consumer: %d failures\n", failures);
    return failures == 0 ? 0 : 1;
}
