#!/usr/bin/env bash
# The tray icon of the built program on a private X server with a tray (Debian's trayer): the icon
# docks, a right click pops up the tray menu 3 pixels right of and below the pointer, "窗口置顶"
# puts the main window on top and takes it off again, a left click hides and shows the main window,
# the menu still opens while the window is hidden and its "显示/隐藏" shows it again, and "退出软件"
# ends the program with code 0.
#
# usage: tray.sh <velkora executable>
set -euo pipefail

binary=$1
shot=${VELKORA_E2E_SCREENSHOT:-/tmp/velkora-e2e-tray.png}

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin velkora-e2e-tray
start_xvfb

# The tray: a panel at the top left of the screen.
trayer --edge top --align left --widthtype pixel --width 120 --height 24 >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for 10 xdotool search --classname '^panel$' >/dev/null || fail "trayer did not start"

start "$(new_run_dir run)" "$work/velkora.log"
program=$started

wait_for 30 main_window_shown || fail "the main window did not appear"

# The docked icon: the program's only window named after the application besides its menus, inside
# the panel at the top of the screen.
icon=""
find_icon() {
    local id
    for id in $(xdotool search --onlyvisible --classname '^velkora$' 2>/dev/null); do
        [ "$(xdotool getwindowname "$id")" = Velkora ] || continue
        eval "$(xdotool getwindowgeometry --shell "$id")"
        if [ "$Y" -lt 24 ] && [ "$WIDTH" -le 24 ]; then icon=$id; return 0; fi
    done
    return 1
}
wait_for 10 find_icon || fail "no tray icon docked in the panel"
eval "$(xdotool getwindowgeometry --shell "$icon")"
icon_x=$((X + WIDTH / 2))
icon_y=$((Y + HEIGHT / 2))
echo "tray icon $icon at $X,$Y (${WIDTH}x$HEIGHT)"

# find_menu: the shown tray menu, a window of the program named after it that is not the icon;
# sets $menu.
find_menu() {
    local id
    menu=""
    for id in $(xdotool search --onlyvisible --classname '^velkora$' 2>/dev/null); do
        [ "$id" = "$icon" ] && continue
        [ "$(xdotool getwindowname "$id")" = Velkora ] || continue
        menu=$id
        return 0
    done
    return 1
}

# right_click_menu: right-clicks the icon and waits for the menu; sets $menu, $menu_x, $menu_y.
right_click_menu() {
    xdotool mousemove "$icon_x" "$icon_y" click 3
    wait_for 10 find_menu || fail "no tray menu after a right click"
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    menu_x=$X
    menu_y=$Y
    sleep 0.3 # the menu takes the keyboard once it is shown
}

# ---- The menu opens beside the pointer -------------------------------------------------------
right_click_menu
eval "$(xdotool getmouselocation --shell)"
echo "pointer $X,$Y; menu at $menu_x,$menu_y"
[ "$menu_x" = $((X + 3)) ] && [ "$menu_y" = $((Y + 3)) ] ||
    fail "the menu is at $menu_x,$menu_y, not 3 pixels right of and below the pointer at $X,$Y"
import -window root "$shot"

# ---- 窗口置顶 (second item) toggles always-on-top --------------------------------------------
on_top() { xprop -id "$(main_window)" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
on_top && fail "the main window starts on top"
xdotool key Down Down Return
wait_for 10 on_top || fail "窗口置顶 did not put the main window on top"
right_click_menu
xdotool key Down Down Return
not_on_top() { main_window_shown && ! on_top; }
wait_for 10 not_on_top || fail "a second 窗口置顶 left the main window on top (or hidden)"

# ---- A left click hides and shows the window; the menu works while it is hidden ----------------
xdotool mousemove "$icon_x" "$icon_y" click 1
wait_for 10 main_window_hidden || fail "a left click on the tray icon did not hide the main window"
xdotool mousemove "$icon_x" "$icon_y" click 1
wait_for 10 main_window_shown || fail "a second left click on the tray icon did not show the main window"
xdotool mousemove "$icon_x" "$icon_y" click 1
wait_for 10 main_window_hidden || fail "a third left click on the tray icon did not hide the main window"
find_icon || fail "the tray icon went away with the main window"
right_click_menu
import -window root "${shot%.png}-hidden.png"
xdotool key Down Return # 显示/隐藏, the first item
wait_for 10 main_window_shown || fail "显示/隐藏 did not show the hidden main window"

# ---- 关闭菜单 only closes the menu; 退出软件 (last item) ends the program ---------------------
right_click_menu
xdotool key Up Up Return
menu_closed() { ! find_menu; }
wait_for 5 menu_closed || fail "关闭菜单 left the menu open"
kill -0 "$program" 2>/dev/null || fail "关闭菜单 ended the program"

right_click_menu
xdotool key Up Return
program_ended() { ! kill -0 "$program" 2>/dev/null; }
wait_for 20 program_ended || fail "退出软件 did not end the program"
rc=0
wait "$program" || rc=$?
[ "$rc" = 0 ] || fail "退出软件 ended the program with code $rc"

echo "PASS (screenshots with the tray menu: $shot, ${shot%.png}-hidden.png)"
