# Sourced by the scripts that run Windows programs: one persistent wineserver
# for the build's prefix, instead of one per program, and Wine's background
# services started detached, so they do not hold the caller's output pipes.
# wine_build names the build folder (default build/mingw). Sets wine_run and
# exports the build's Wine environment, taken from its wine-run.sh; the
# wineserver stops when the calling script exits, after the command in
# wine_session_cleanup, if the caller sets one.
wine_build=${wine_build:-build/mingw}
wine_run=$wine_build/wine-run.sh
source "$wine_run"
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
trap 'eval "${wine_session_cleanup:-}"; wineserver -k || true' EXIT
"$wine_run" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
