# Sourced by the quick-start scripts: installs what is missing, builds into
# $FACTS_BUILD (default ./build) and prepares Wine and a display.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export FACTS_BUILD=${FACTS_BUILD:-$root/build}
"$root/tools/setup.sh"
"$root/tools/build.sh" "$FACTS_BUILD"
source "$root/tools/wine-session.sh"
