#include <windows.h>

// The library keeps no state, so loading and unloading need no work of its own.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
