#!/usr/bin/env bash
# The DLLs hovrel-updater.exe loads at start: only what an automatic run
# with nothing due needs (the registry, the C runtime). Everything else is
# delay-loaded; a call added without its delay-load entry brings its DLL
# back to every start of the app.
# Arguments: objdump, hovrel-updater.exe.
set -euo pipefail
imports=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort -u | tr '\n' ' ')
if [ "$imports" != "advapi32.dll kernel32.dll msvcrt.dll " ]; then
    echo "FAIL: hovrel-updater.exe imports at start: $imports(wanted advapi32.dll kernel32.dll msvcrt.dll)"
    exit 1
fi
echo "ok: hovrel-updater.exe imports at start: $imports"
