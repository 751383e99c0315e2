// Stands in for an installer: writes the command line it was given, as
// UTF-16, to the file named by HOVREL_RECORDER_OUT and exits with the code in
// HOVREL_RECORDER_EXIT (decimal or 0x hex; 0 when unset). With
// HOVREL_RECORDER_LINGER_MS it first prints its process id and waits that
// long, so a test has an app for the host to wait on.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int main() {
    wchar_t lingerText[32] = {};
    if (GetEnvironmentVariableW(L"HOVREL_RECORDER_LINGER_MS", lingerText, 32) != 0) {
        std::printf("%lu\n", GetCurrentProcessId());
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(std::wcstoul(lingerText, nullptr, 10)));
    }
    wchar_t outPath[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"HOVREL_RECORDER_OUT", outPath, MAX_PATH) != 0) {
        HANDLE file = CreateFileW(outPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            ExitProcess(250);
        }
        const wchar_t* line = GetCommandLineW();
        const DWORD bytes = static_cast<DWORD>(std::wcslen(line) * sizeof(wchar_t));
        DWORD written = 0;
        const BOOL ok = WriteFile(file, line, bytes, &written, nullptr);
        CloseHandle(file);
        if (!ok || written != bytes) {
            ExitProcess(251);
        }
    }
    wchar_t exitText[32] = {};
    UINT code = 0;
    if (GetEnvironmentVariableW(L"HOVREL_RECORDER_EXIT", exitText, 32) != 0) {
        code = static_cast<UINT>(std::wcstoul(exitText, nullptr, 0));
    }
    ExitProcess(code);
}
