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


# The browser's controls by the dialog units of its template (678 x 400),
# once browser_geometry has read the window's place: the frame and the
# caption come on top of the template.
browser_geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
browser_at() {
    local frame=3 caption=19
    echo $((X + frame + $1 * (WIDTH - 2 * frame) / 678)) $((Y + caption + frame + $2 * (HEIGHT - caption - 2 * frame) / 400))
}
# click_browser X Y [COUNT]: COUNT clicks at that place of the browser.
click_browser() { xdotool mousemove $(browser_at "$1" "$2") click --repeat "${3:-1}" --delay 80 1; }
# The tops of the five lists, in dialog units; a row is 8 units high.
BROWSER_LIST_TOPS=(11 59 111 166 218)
click_browser_row() { click_browser 60 $((BROWSER_LIST_TOPS[$1 - 1] + 5 + $2 * 8)) "${3:-1}"; }
