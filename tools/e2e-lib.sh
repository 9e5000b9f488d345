# Sourced by the end-to-end tests: waiting on conditions and pressing keys
# at the main window. Expects screen_w and screen_h once the program runs.
fail() { echo "FAIL: $*"; exit 1; }
# Polls a condition every 0.1 s for at most $1 seconds; no fixed waits.
wait_until() {
    local seconds=$1; shift
    for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
    return 1
}

# A key reaches the main window only while it has the keyboard (the active
# dialog takes it otherwise): a click on the wallpaper, where no dialog
# stands, gives it the keyboard. Wine may not have handled the click when the
# key arrives, and X's focus does not tell, so the pair is repeated until its
# effect shows, a few times at most.
press_on_main() {
    local key=$1; shift
    for _ in 1 2 3; do
        xdotool mousemove $((screen_w - 20)) $((screen_h - 20)) click 1
        xdotool key "$key"
        wait_until 3 "$@" && return 0
    done
    return 1
}

