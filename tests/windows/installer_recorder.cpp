// Stands in for an installer: writes the command line it was given, as
// UTF-16, to the file named by HOVREL_RECORDER_OUT and exits with the code in
// HOVREL_RECORDER_EXIT (decimal or 0x hex; 0 when unset). With
// HOVREL_RECORDER_LINGER_MS it first prints its process id and waits that
// long, so a test has an app for the host to wait on. With
// HOVREL_RECORDER_APPEND it adds its line to the file instead, so a test
// sees the installer and the app started after it in order.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int main() {
    wchar_t lingerText[32] = {};
    if (GetEnvironmentVariableW(L"HOVREL_RECORDER_LINGER_MS", lingerText, 32) != 0) {
        std::printf("%lu\n", GetCurrentProcessId());
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(std::wcstoul(lingerText, nullptr, 10)));
    }
    wchar_t outPath[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"HOVREL_RECORDER_OUT", outPath, MAX_PATH) != 0) {
        const bool append = GetEnvironmentVariableW(L"HOVREL_RECORDER_APPEND", nullptr, 0) != 0;
        HANDLE file =
            CreateFileW(outPath, append ? FILE_APPEND_DATA : GENERIC_WRITE, 0, nullptr,
                        append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            ExitProcess(250);
        }
        std::wstring line = GetCommandLineW();
        if (append) {
            line += L"\n";
        }
        const DWORD bytes = static_cast<DWORD>(line.size() * sizeof(wchar_t));
        DWORD written = 0;
        const BOOL ok = WriteFile(file, line.data(), bytes, &written, nullptr);
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
