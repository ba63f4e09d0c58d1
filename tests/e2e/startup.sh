#!/usr/bin/env bash
# The built program, started the way a user starts it, in fresh run directories on a private X
# server: the files it writes at start, its caption and width, the empty-store panel, a second
# launch, a crashed instance, and a database file that cannot be opened.
#
# usage: startup.sh <velkora executable> <site host it was built with> <carried skin source>
set -euo pipefail

binary=$1
site_host=$2
skin_source=$3
shot=${VELKORA_E2E_SCREENSHOT:-/tmp/velkora-e2e.png}

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin velkora-e2e
start_xvfb

caption="Velkora Ver 2.5 2011年正月版 [永久免费使用] $site_host"

# ---- First start in an empty run directory -------------------------------------------------
run=$(new_run_dir first)
start "$run" "$work/first.log"
first=$started
main=$(window_named '^Velkora Ver ') || fail "the main window did not appear"
sleep 1 # let it paint

[ "$(xdotool getwindowname "$main")" = "$caption" ] || fail "caption is '$(xdotool getwindowname "$main")'"
width=$(xwininfo -id "$main" | awk '/Width:/ {print $2}')
[ "$width" = 485 ] || fail "width is $width, not 485"

cmp -s "$run/skinh.she" "$skin_source" || fail "skinh.she is not the carried skin"
[ "$(head -c 15 "$run/tamcard1.mdb")" = "SQLite format 3" ] || fail "tamcard1.mdb is not a new database"

import -window "$main" "$shot"
# The empty-store panel covers the middle of the card list: with no rows and no panel that area
# would be the list's plain white.
covered=$(convert "$shot" -crop 200x100+50+170 +repage txt:- | grep -vc -i '#FFFFFF' || true)
echo "empty-store area: $covered of 20000 pixels not white"
[ "$covered" -gt 10000 ] || fail "the empty-store panel is not shown (only $covered of 20000 pixels not white)"

# ---- A second launch ends at once, silently, with code 0, leaving the first untouched ----------
start "$run" "$work/second.log"
wait_exit "$started" 20
[ "$rc" = 0 ] || fail "second launch ended with code $rc"
kill -0 "$first" 2>/dev/null || fail "the first instance ended"
[ "$(xdotool search --name '^Velkora Ver ' | wc -l)" = 1 ] || fail "a second main window appeared"
[ "$(xdotool search --name '^信息：$' | wc -l)" = 0 ] || fail "the second launch showed a message"

# ---- A killed instance does not keep the next start from running ----------------------------
kill -9 "$first"
wait "$first" 2>/dev/null || true
start "$run" "$work/after-crash.log"
again=$started
window_named '^Velkora Ver ' >/dev/null || fail "no main window after the first instance was killed"
kill -TERM "$again"
wait "$again" 2>/dev/null || true

# ---- A database file that cannot be opened: the message, code 0, the file unchanged ---------
run=$(new_run_dir unopenable)
head -c 196608 /dev/zero >"$run/tamcard1.mdb"
cp "$run/tamcard1.mdb" "$work/unopenable.orig"
start "$run" "$work/unopenable.log"
box=$(window_named '^信息：$') || fail "no message box"
sleep 0.5
import -window root "${shot%.png}-dbfail.png"
[ -z "$(xdotool search --name '^Velkora Ver ' || true)" ] || fail "the main window appeared with an unopenable database"
kill -0 "$started" 2>/dev/null || fail "the program ended before the message was dismissed"
xdotool windowfocus "$box" 2>/dev/null || true
sleep 0.2
xdotool key Return
wait_exit "$started" 20
[ "$rc" = 0 ] || fail "ended with code $rc after the message"
cmp -s "$run/tamcard1.mdb" "$work/unopenable.orig" || fail "the unopenable database file was changed"
left=$(ls -A "$run" | tr '\n' ' ')
[ "$left" = "skinh.she tamcard1.mdb velkora " ] || fail "run directory holds: $left"

echo "PASS (screenshots: $shot, ${shot%.png}-dbfail.png)"
