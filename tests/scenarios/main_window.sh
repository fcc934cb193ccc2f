#!/bin/bash
# The real Halvard.exe in simulation mode under Wine, driven by real input: it connects with the
# loading popup and reaches the ready page; a tab click selects the profile on the mouse; CANCEL
# hides it and a second start brings it back; unplugging brings the warning plate and replugging
# loads again; two mice ask which one; a button given its factory function again reaches the
# mouse with APPLY. Pictures of each state go to out/screenshots/main-*.png.
#   main_window.sh BUILD_DIR SIMMOUSE
set -u
build=${1:?build folder}
simmouse=${2:?simmouse}
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$root/out/scenarios/main-window"
shots="$root/out/screenshots"
rm -rf "$work" && mkdir -p "$work" "$shots"
image="$work/mouse.img"
name=main
. "$root/tests/scenarios/lib.sh"

"$simmouse" create "$image" || fail "cannot make the mouse image"
"$simmouse" poke "$image" 140 0x50 >/dev/null
# Button 4 (index 3) of profile III does CTRL instead of its factory BACKWARD.
type_cell=$((416 + 14 + 3)) param_cell=$((416 + 25 + 12))
"$simmouse" poke "$image" $type_cell 2 >/dev/null
"$simmouse" poke "$image" $param_cell 1 >/dev/null

# 1. Start: the popup while loading, then the ready page.
t0=$(ms)
start
wait_window 146x81 30 >/dev/null || fail "no loading popup"
tpopup=$(ms)
shot main-loading
page=$(wait_window 930x768 60) || fail "the ready page did not come"
tready=$(ms)
echo "figure: start to loading popup $((tpopup - t0)) ms, popup to ready page $((tready - tpopup)) ms"
read -r px py <<<"$page"
wait_painted $((px + 40)) $((py + 400)) || fail "the ready page was not painted"
shot main-ready

# 2. A click on tab III makes profile 2 the mouse's active profile.
click $((px + 252 + 64)) $((py + 104 + 20))
for _ in $(seq 30); do [ "$("$simmouse" peek "$image" 140)" = "82" ] && break; sleep 0.1; done
[ "$("$simmouse" peek "$image" 140)" = "82" ] || fail "tab III did not select profile 2 (cell 140 = $("$simmouse" peek "$image" 140))"
sleep 0.3
shot main-profile3

# 2b. Button 4's hot spot, then "Default Button Function", then APPLY: BACKWARD on the mouse.
click $((px + 261 + 15)) $((py + 312 + 9))
sleep 0.5
shot main-button-selected
click $((px + 546 + 83)) $((py + 330 + 20))
sleep 0.3
click $((px + 548 + 55)) $((py + 704 + 18))
for _ in $(seq 50); do [ "$("$simmouse" peek "$image" $type_cell)" = "1" ] && break; sleep 0.1; done
[ "$("$simmouse" peek "$image" $type_cell)" = "1" ] || fail "the factory function did not reach the mouse (type $("$simmouse" peek "$image" $type_cell))"
[ "$("$simmouse" peek "$image" $param_cell)" = "8" ] || fail "button 4 is not BACKWARD (mask $("$simmouse" peek "$image" $param_cell))"
xdotool mousemove $((px + 261 + 15)) $((py + 312 + 9))
sleep 0.5
shot main-assigned

# 3. CANCEL hides the window; a second start asks the first one to show itself and ends.
click $((px + 668 + 55)) $((py + 704 + 18))
wait_gone 930x768 10 || fail "CANCEL did not hide the window"
first=$pid
HALVARD_SIMULATE=$(winpath "$image") timeout 20 "$wine" "$build/Halvard.exe" >/dev/null 2>&1 || fail "the second start did not end by itself"
wait_window 930x768 10 >/dev/null || fail "the second start did not bring the first window back"
kill -0 "$first" 2>/dev/null || fail "the first instance ended"

# 4. Unplugged: the warning plate. Plugged again: a new load 5 s later.
"$simmouse" unplug "$image" >/dev/null
plate=$(wait_window 556x164 10) || fail "no warning plate after unplugging"
sleep 0.5
shot main-no-device
"$simmouse" plug "$image" >/dev/null
wait_window 930x768 40 >/dev/null || fail "no new load after plugging in again"
wait_painted $((px + 40)) $((py + 400)) || fail "the page after plugging in again was not painted"
sleep 0.5

# 5. Escape ends the program.
xdotool mousemove $((px + 400)) $((py + 60)) click 1 key Escape
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Escape did not end the program"

# 6. Two mice: the selection dialog; Enter takes the first.
"$simmouse" create "$work/mouse-2.img" >/dev/null
start
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Select Mouse"' && break
  sleep 0.2
done
xwininfo -root -tree 2>/dev/null | grep -q '"Select Mouse"' || fail "no selection dialog with two mice"
sleep 0.5
shot main-select
dialog=$(xwininfo -root -tree | grep '"Select Mouse"' | sed -n 's/.* [0-9]*x[0-9]*+\([0-9]*\)+\([0-9]*\) .*/\1 \2/p' | head -1)
read -r dx dy <<<"$dialog"
xdotool mousemove $((dx + 20)) $((dy + 10)) click 1 key Return
wait_window 930x768 60 >/dev/null || fail "the chosen mouse was not loaded"
cleanup
echo "main window scenario: 7 steps passed"
