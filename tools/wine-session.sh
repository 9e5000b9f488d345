# Sourced, not run: prepares a Wine prefix, a display and a running wineserver
# for the programs started afterwards, and takes down on exit what it started.
#   FACTS_BUILD  the build folder; the prefix lives in it
#   FACTS_SCREEN the size of a private display, 1280x1024 unless given
facts_session_cleanup() {
    [ -z "${FACTS_WINESERVER_STARTED:-}" ] || wineserver -k >/dev/null 2>&1 || true
    [ -z "${FACTS_XVFB_PID:-}" ] || kill "$FACTS_XVFB_PID" 2>/dev/null || true
    [ -z "${FACTS_FULL_DISK_DIR:-}" ] || umount "$FACTS_FULL_DISK_DIR" 2>/dev/null || true
}
trap facts_session_cleanup EXIT

export WINEPREFIX=${WINEPREFIX:-$FACTS_BUILD/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# A display: the one there is, or a private Xvfb.
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    for number in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
    done
    Xvfb ":$number" -screen 0 "${FACTS_SCREEN:-1280x1024}x24" -nolisten tcp >/dev/null 2>&1 &
    FACTS_XVFB_PID=$!
    export DISPLAY=":$number"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

# The prefix, made once per build folder. Without a window manager, Wine
# waits on every hide and destroy unless its windows are unmanaged.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (once)..."
    LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
fi

# Drive N: of tools/wine-run is a network drive; Wine reads drive types when
# its server starts.
if ! grep -q '"n:"="network"' "$WINEPREFIX/system.reg" 2>/dev/null; then
    wine reg add 'HKLM\Software\Wine\Drives' /v n: /t REG_SZ /d network /f >/dev/null 2>&1
    wineserver -w
fi

# The test drives exist before the server starts, or a new prefix's drive N:
# comes up as a fixed disk.
source "$(dirname "${BASH_SOURCE[0]}")/wine-drives.sh"

# One wineserver for the whole session, and the helper processes that the
# first program would start (services, device drivers), all with their output
# away from ctest's pipes: a helper holding a pipe open makes a passed test
# look like a timed-out one.
wineserver -p >/dev/null 2>&1 </dev/null || true  # already running is fine
FACTS_WINESERVER_STARTED=1
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
