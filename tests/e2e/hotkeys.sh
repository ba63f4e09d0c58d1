#!/usr/bin/env bash
# The hot keys of the built program, used from another program on a private X server: a card on
# file is queried through the window (A1 B2 C3, moved on and queried by the program itself), then
# ALT+P in the type target's focused window types the answers one per press, cycling; the
# full-input box ticked by a click is written to config.ini at once and the next press types the
# rest of the cycle and wraps, with the chosen pause between the answers; Ctrl+F12 hides and shows
# the main window and ALT+P works while it is hidden. Then, with Ctrl+F12 held by another client,
# start-up shows its message, and once that is dismissed ALT+P still types.
#
# usage: hotkeys.sh <velkora executable> <card database maker> <type target> <key grabber>
set -euo pipefail

binary=$1
make_card_db=$2
type_target=$3
grab_key=$4
shot=${VELKORA_E2E_SCREENSHOT:-/tmp/velkora-e2e-hotkeys.png}

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin velkora-e2e-hotkeys
start_xvfb

# The card: letters across, so A1 B2 C3 are the diagonal. The answers hold a capital (typed with
# Shift), a small letter and a Chinese character (no key of its own in the keyboard map).
grid=$'12-70-71\n72-Ab-73\n74-75-5密'
answers=(12 Ab 5密)
# 低速, the entry with index 4 of the speed list: 500 ms after each answer. Seen from the target,
# a gap may come out shorter by however late the character before it was read there; the bound
# leaves 100 ms for that and still tells the pause from the default 中速 (300 ms).
speed_index=4
pause_floor_ms=400

# new_card_run_dir NAME: a run directory with the program, the card on file and the typing options
# off for single presses at 低速.
new_card_run_dir() {
    local dir
    dir=$(new_run_dir "$1")
    "$make_card_db" "$dir/tamcard1.mdb" 网银 e2e SN1 across "$grid" A,B,C ||
        fail "the card database could not be written"
    printf '[hotkey]\r\nonehot=0\r\nonehotspeed=%s\r\n[run]\r\nvote=1\r\n' "$speed_index" >"$dir/config.ini"
    echo "$dir"
}

# window_grab FILE: a screenshot of the main window.
window_grab() { import -window "$main" "$1"; }

# find_cells: the three coordinate boxes in the shown main window, found as the last three runs of
# white pixels down a column through them (the boxes are white only while the query group is
# enabled, that is once a card is loaded). Sets $cell_y (their middles, window coordinates) and
# $client_top (where the area below the menu bar starts).
cell_x=392 # the middle of the boxes: query group at 315, boxes at 47, 60 wide
find_cells() {
    local runs
    window_grab "$work/layout.png" || return 1
    mapfile -t runs < <(convert "$work/layout.png" -crop "1x10000+$((cell_x + 26))+0" +repage txt:- |
        awk -F'[,:]' 'NR > 1 {
            white = index($0, "#FFFFFF") > 0
            if (white && start < 0) start = $2
            if (!white && start >= 0) { if ($2 - start >= 12) print start, $2 - 1; start = -1 }
        } BEGIN { start = -1 }')
    [ "${#runs[@]}" -ge 3 ] || return 1
    local i top bottom
    cell_y=()
    for i in 3 2 1; do
        read -r top bottom <<<"${runs[${#runs[@]} - i]}"
        cell_y+=($(((top + bottom) / 2)))
    done
    # The boxes are 24 and 23 pixels apart (tops at 147, 171 and 194 in the query group).
    local d1=$((cell_y[1] - cell_y[0])) d2=$((cell_y[2] - cell_y[1]))
    [ $d1 -ge 22 ] && [ $d1 -le 26 ] && [ $d2 -ge 21 ] && [ $d2 -le 25 ] || return 1
    client_top=$((cell_y[0] - 56 - 147 - 10))
}

# answers_shown: the result label (at 115, 151 in the query group, 32 x 64) holds answers: the
# placeholder's three dashes darken a few pixels, three answers well over a hundred.
answers_shown() {
    local dark
    window_grab "$work/result.png" || return 1
    dark=$(convert "$work/result.png" -crop "32x64+$((315 + 115))+$((client_top + 56 + 151))" +repage \
        -colorspace Gray -threshold 50% -format '%[fx:round((1-mean)*w*h)]' info:)
    [ "$dark" -ge 40 ]
}

# query_card: selects the only card in the list and queries A1 B2 C3 the way a user types them:
# a click into each box and the coordinate in small letters; the program turns them into capitals
# and, 800 ms after the last one, queries by itself.
query_card() {
    main=$(main_window)
    [ -n "$main" ] || fail "no main window to query"
    xdotool windowfocus --sync "$main" 2>/dev/null || true
    # Into the list's empty part below the one row, then Down to the first row.
    xdotool mousemove --window "$main" 150 280 click 1
    xdotool key Down
    wait_for 15 find_cells || fail "selecting the card did not enable the query boxes"
    answers_shown && fail "answers are shown before the query"
    local coordinates=(a1 b2 c3) i
    for i in 0 1 2; do
        xdotool mousemove --window "$main" "$cell_x" "${cell_y[i]}" click 1
        xdotool type --delay 20 "${coordinates[i]}"
    done
    wait_for 15 answers_shown || fail "the query did not show answers"
}

# start_target NAME: the type target, a separate program whose window takes the keyboard focus and
# records each character it receives; sets $target_out.
start_target() {
    target_out="$work/$1.out"
    "$type_target" >"$target_out" 2>"$work/$1.log" &
    target_pid=$!
    pids+=("$target_pid")
    wait_for 15 grep -q '^ready ' "$target_out" || fail "the type target did not take the focus"
    target_window=$(awk '/^ready / { print $2; exit }' "$target_out")
}

# typed: the characters the target received so far, in order, as one text.
typed() { awk 'NR > 1 { printf "%s", $2 }' "$target_out"; }
typed_is() { [ "$(typed)" = "$1" ]; }

# press_expect KEYS TEXT WHAT: presses KEYS and waits until the target holds TEXT in all.
press_expect() {
    xdotool key "$1"
    wait_for 15 typed_is "$2" || fail "$3: the target received '$(typed)', not '$2'"
}

# ---- A card on file, queried through the window ----------------------------------------------
run=$(new_card_run_dir first)
start "$run" "$work/first.log"
program=$started
wait_for 30 main_window_shown || fail "the main window did not appear"
query_card
window_grab "$shot"
echo "answers shown: $shot"

# ---- Single presses type one answer each, cycling --------------------------------------------
start_target target1
expected=""
for i in 0 1 2 0; do
    expected+=${answers[i]}
    press_expect alt+p "$expected" "ALT+P press for answer $((i + 1))"
done

# ---- Full-input mode: ticking the box is saved at once; one press types the rest of the cycle ---
# The click activates the main window, as on any desktop; the user then clicks back into the field.
xdotool mousemove --window "$main" $((315 + 1 + 9 + 8)) $((client_top + 56 + 246 + 8 + 8)) click 1
onehot_saved() { grep -q '^onehot=1' "$run/config.ini"; }
wait_for 10 onehot_saved || fail "ticking 启用全输模式 did not write onehot=1: $(tr '\r\n' '  ' <"$run/config.ini")"
grep -q "^onehotspeed=$speed_index" "$run/config.ini" || fail "the speed setting changed"
xdotool windowfocus --sync "$target_window"
before=$(($(wc -l <"$target_out") - 1))
expected+=${answers[1]}${answers[2]}${answers[0]}
press_expect alt+p "$expected" "ALT+P in full-input mode after one answer"
# Each answer comes whole and is followed by the pause of 低速 before the next one.
mapfile -t stamps < <(awk -v skip="$before" 'NR > 1 + skip { print $1 }' "$target_out")
[ "${#stamps[@]}" = 6 ] || fail "full input delivered ${#stamps[@]} characters, not 6"
for boundary in 2 4; do
    gap=$(((stamps[boundary] - stamps[boundary - 1]) / 1000000))
    echo "pause before answer $((boundary / 2 + 1)): $gap ms"
    [ "$gap" -ge "$pause_floor_ms" ] || fail "the pause between two answers was $gap ms, under $pause_floor_ms ms"
done

# ---- Ctrl+F12 hides and shows the main window; ALT+P types while it is hidden -----------------
xdotool key ctrl+F12
wait_for 10 main_window_hidden || fail "Ctrl+F12 did not hide the main window"
expected+=${answers[1]}${answers[2]}${answers[0]}
press_expect alt+p "$expected" "ALT+P with the main window hidden"
xdotool key ctrl+F12
wait_for 10 main_window_shown || fail "a second Ctrl+F12 did not show the main window"
sleep 0.5
[ "$(typed)" = "$expected" ] || fail "the target received '$(typed)' after the last press, not '$expected'"
kill -TERM "$program" "$target_pid"
wait_exit "$program" 20

# ---- Ctrl+F12 held by another client: the message, then ALT+P still works ----------------------
"$grab_key" ctrl+F12 >"$work/grabber.out" 2>"$work/grabber.log" &
pids+=($!)
wait_for 10 grep -q '^grabbed' "$work/grabber.out" || fail "the other client could not take Ctrl+F12"
run=$(new_card_run_dir taken)
start "$run" "$work/taken.log"
program=$started
box=$(window_named '^热键冲突，被其他程序占用！$' 30) || fail "no message about the taken hot key"
main_window_hidden || fail "the main window was shown before the message was dismissed"
sleep 0.5 # let it paint
import -window root "${shot%.png}-taken.png"
xdotool windowfocus "$box" 2>/dev/null || true
sleep 0.2
xdotool key Return
wait_for 30 main_window_shown || fail "no main window after the message was dismissed"
[ -z "$(xdotool search --name '^热键冲突，被其他程序占用！$' 2>/dev/null || true)" ] ||
    fail "a second message appeared: ALT+P was refused too"
query_card
start_target target2
press_expect alt+p "${answers[0]}" "ALT+P with Ctrl+F12 taken"
# Ctrl+F12 goes to the client that holds it; the main window stays.
xdotool key ctrl+F12
wait_for 10 grep -q '^pressed ' "$work/grabber.out" || fail "the other client did not get its Ctrl+F12"
main_window_shown || fail "Ctrl+F12 held by another client hid the main window"

echo "PASS (screenshots: $shot, ${shot%.png}-taken.png)"
