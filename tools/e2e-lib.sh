# Sourced by the end-to-end tests: their arguments and base folder, waiting
# on conditions, and pressing keys at the main window (which expects
# screen_w and screen_h once the program runs).

# e2e_setup PROGRAM.exe LOCALE ARTIFACT_FOLDER: sets program, locale,
# artifacts and an empty base folder of its own, removed at exit with the
# program ($pid) ended.
e2e_setup() {
    program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    locale=$2
    artifacts=$3
    mkdir -p "$artifacts"
    export LANG=$locale LC_ALL=$locale WINEDEBUG=-all
    base=$(mktemp -d /tmp/facts-e2e.XXXXXX)
    pid=
    trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$base"' EXIT
}
fail() { echo "FAIL: $*"; exit 1; }
# write_1251 FILE TEXT: the text (UTF-8 here) as Windows-1251 bytes, as the program stores it.
write_1251() { mkdir -p "$(dirname "$1")"; printf '%s' "$2" | iconv -f utf-8 -t cp1251 > "$1"; }
# Polls a condition every 0.1 s for at most $1 seconds, however long each
# try takes; no fixed waits.
wait_until() {
    local deadline=$((SECONDS + $1)); shift
    while :; do
        "$@" && return 0
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# e2e_start_program: the program started in $base, as a double click in
# its folder would; returns once its main window shows, with pid, screen_w
# and screen_h set.
e2e_start_program() {
    (cd "$base" && exec wine "$program" </dev/null >/dev/null 2>&1) &
    pid=$!
    timeout 30 xdotool search --sync --onlyvisible --name 'Сбор и систематизация фактов Тарвелии' >/dev/null \
        || fail "the main window did not show"
    read -r screen_w screen_h < <(xdotool getdisplaygeometry)
}
program_ended() { ! kill -0 "$pid" 2>/dev/null; }
# shown TITLE: a visible window has exactly that title.
shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null; }

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


# A dialog's controls by the dialog units of its template, once
# dialog_geometry has read the window's place: the frame and the caption
# come on top of the template.
dialog_geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
# dialog_at TEMPLATE_WIDTH TEMPLATE_HEIGHT X Y
dialog_at() {
    local dpi=${FACTS_DPI:-96}
    local frame=$((3 * dpi / 96)) caption=$((19 * dpi / 96))
    echo $((X + frame + $3 * (WIDTH - 2 * frame) / $1)) $((Y + caption + frame + $4 * (HEIGHT - caption - 2 * frame) / $2))
}
# The browser's template is 678 x 400.
browser_geometry() { dialog_geometry "$1"; }
browser_at() { dialog_at 678 400 "$1" "$2"; }
# click_browser X Y [COUNT]: COUNT clicks at that place of the browser.
click_browser() { xdotool mousemove $(browser_at "$1" "$2") click --repeat "${3:-1}" --delay 80 1; }
# The tops of the five lists, in dialog units; a row is 8 units high.
BROWSER_LIST_TOPS=(11 59 111 166 218)
click_browser_row() { click_browser 60 $((BROWSER_LIST_TOPS[$1 - 1] + 5 + $2 * 8)) "${3:-1}"; }

# dark_in SHOT X Y W H: the box of the screenshot holds a dark pixel (drawn
# text); X Y in screen pixels.
dark_in() { [ "$(convert "$1" -crop "$4x$5+$2+$3" +repage -format '%[fx:minima.r<0.35]' info:)" = 1 ]; }
# browser_painted SHOT: the browser (its geometry read) has drawn the first
# entry of its Section list below "..", the one its lists always show first,
# and the caption of its last control, "ИЗМЕНИТЬ ФАКТ": a browser half drawn
# (only a button, or its lists empty) lacks one of them.
browser_painted() {
    local x y
    read -r x y < <(browser_at 9 $((BROWSER_LIST_TOPS[0] + 9)))
    dark_in "$1" "$x" "$y" 80 6 || return 1
    read -r x y < <(browser_at 560 369)
    dark_in "$1" "$x" "$y" 40 6
}
# settled_shot FILE [WINDOW] [SECONDS]: a screenshot of the window (the
# whole screen by default) once painting has stopped: two taken in a row
# show the same pixels. False, and no file, when it does not settle within
# SECONDS (10).
settled_shot() {
    local file=$1 window=${2:-root} seconds=${3:-10} previous= current
    local taken
    taken=$(mktemp --suffix=.png)
    for _ in $(seq $((seconds * 5))); do
        import -window "$window" "$taken"
        current=$(convert "$taken" rgb:- | md5sum)
        if [ "$current" = "$previous" ]; then
            mv "$taken" "$file"
            return 0
        fi
        previous=$current
        sleep 0.2
    done
    rm -f "$taken"
    return 1
}
# near_uniform SHOT: one colour covers nearly all of the picture.
near_uniform() { [ "$(convert "$1" -colorspace gray -format '%[fx:standard_deviation<0.02]' info:)" = 1 ]; }
# selected_at X Y: the screen shows the selection's colour (blue under
# white text) in the 60 x 6 pixels from there: a list row that is selected.
selected_at() {
    local shot hit
    shot=$(mktemp --suffix=.png)
    import -window root "$shot"
    hit=$(convert "$shot" -crop "60x6+$1+$2" +repage -fx 'b>0.6 && r<0.4' -format '%[fx:maxima]' info:)
    rm -f "$shot"
    [ "$hit" = 1 ]
}
# browser_row_selected LEVEL ROW / browser_row_empty LEVEL ROW: that row of
# the browser's list of that level is selected / shows no entry.
browser_row_at() { browser_at 9 $((BROWSER_LIST_TOPS[$1 - 1] + 2 + $2 * 8)); }
browser_row_selected() { selected_at $(browser_row_at "$1" "$2"); }
browser_row_empty() {
    local shot x y
    shot=$(mktemp --suffix=.png)
    import -window root "$shot"
    read -r x y < <(browser_row_at "$1" "$2")
    ! dark_in "$shot" "$x" "$y" 80 6 && ! selected_at "$x" "$y"
    local empty=$?
    rm -f "$shot"
    return $empty
}
# right_click_menu X Y: a right click at that screen point, returning once a
# popup menu shows (a new visible window without a title); false when none
# showed within 3 s.
unnamed_windows() { xdotool search --onlyvisible --name '^$' 2>/dev/null | sort; }
new_unnamed_window() { [ -n "$(comm -13 <(echo "$1") <(unnamed_windows))" ]; }
right_click_menu() {
    local before
    before=$(unnamed_windows)
    xdotool mousemove "$1" "$2" click 3
    wait_until 3 new_unnamed_window "$before"
}
