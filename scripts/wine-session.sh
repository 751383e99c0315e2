# Sourced by the scripts that run Windows programs: one persistent wineserver
# for the build's prefix, instead of one per program, and Wine's background
# services started detached, so they do not hold the caller's output pipes.
# wine_build names the build folder whose prefix is used (default build/mingw).
# Sets wine_run; the wineserver stops when the calling script exits.
wine_build=${wine_build:-build/mingw}
wine_run=$wine_build/wine-run.sh
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
export WINEPREFIX="$PWD/$wine_build/wineprefix"
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k || true' EXIT
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
