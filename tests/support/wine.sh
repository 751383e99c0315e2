# Sourced by the test scripts that run a build's Windows programs under Wine.
# Caller sets build. Sets wine_run and takes the build's Wine environment from
# its wine-run.sh, never from the caller's WINEPREFIX, so that winepath and
# the prefix's files are the build's. windows_path PATH: PATH as the prefix's
# Z: drive names it.
wine_run=$build/wine-run.sh
source "$wine_run"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
