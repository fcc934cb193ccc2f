#!/bin/bash
# The performance and LED pages of the real Halvard.exe in simulation mode, driven by real clicks
# and keys: each page opens from the full page's button; every kind of control is changed, APPLY
# and OK write the simulated mouse, the pointer settings land in the profile's values; the LED
# page shows the main window's battle mode; with the monitor, the mouse's own level, rate and
# profile changes reach the open page; unplugging ends an open page. Pictures of both pages
# in both X-Y modes and both LED modes go to out/screenshots/cfgled-*.png.
#   config_led.sh BUILD_DIR SIMMOUSE
set -u
build=${1:?build folder}
simmouse=${2:?simmouse}
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$root/out/scenarios/config-led"
shots="$root/out/screenshots"
rm -rf "$work" && mkdir -p "$work" "$shots"
image="$work/mouse.img"
name=cfgled
. "$root/tests/scenarios/lib.sh"
# Clicks here wait for the page to take them.
click() { xdotool mousemove "$1" "$2" sleep 0.2 click 1; sleep 0.3; }
reg_value() {  # NAME: the DWORD under Software\Halvard, in decimal
  local v
  v=$(WINEPREFIX="${HALVARD_WINEPREFIX:-$root/out/wineprefix}" /usr/lib/wine/wine64 reg query 'HKCU\Software\Halvard' /v "$1" 2>/dev/null |
    tr -d '\r' | awk '/REG_DWORD/ {print $NF}')
  [ -n "$v" ] && echo $((v))
}
reg_delete() {  # NAME
  WINEPREFIX="${HALVARD_WINEPREFIX:-$root/out/wineprefix}" /usr/lib/wine/wine64 reg delete 'HKCU\Software\Halvard' /v "$1" /f \
    >/dev/null 2>&1
}
monitor=
after_cleanup() { [ -n "$monitor" ] && kill "$monitor" 2>/dev/null; }

"$simmouse" create "$image" >/dev/null || fail "cannot make the mouse image"
B=256  # profile I's settings block
# Profile I as on a new machine: one sensitivity for both axes, no pointer values of its own.
for v in 'PF0 X-Y DPI Enabled' 'PF1 Motion Speed' 'PF1 Double-Click_speed' 'PF1 Wheel Scroll Lines'; do reg_delete "$v"; done
start
page=$(wait_window 930x768 60) || fail "the ready page did not come"
read -r px py <<<"$page"
wait_painted $((px + 40)) $((py + 400)) || fail "the ready page was not painted"

# 1. The performance page from its page button.
click $((px + 546 + 83)) $((py + 470 + 43))
cfg=$(wait_window 720x500 10) || fail "no performance page"
read -r cx cy <<<"$cfg"
wait_painted $((cx + 30)) $((cy + 300)) || fail "the performance page was not painted"
sleep 0.5
shot cfgled-config-common
[ "$(reg_value 'Current Dialog')" = "1" ] || fail "Current Dialog is not 1 while the page is open"

# DPI level 3: written through at once.
click $((cx + 36 + 143)) $((cy + 96 + 12))
expect_cell $B 130 "level 3 did not reach the mouse"
# 250 Hz: written through at once.
click $((cx + 116 + 35)) $((cy + 444 + 14))
expect_cell $B 146 "250 Hz did not reach the mouse"
# The common DPI field: 1600 for level 3 (both groups, on APPLY).
click $((cx + 110 + 32)) $((cy + 300 + 11))
xdotool key End BackSpace BackSpace BackSpace BackSpace type --delay 80 1600
# Lift-off 7, cursor speed slider 3 (speed 6), double-click slider 4 (400 ms).
click $((cx + 396 + 55)) $((cy + 336 + 12))
click $((cx + 396 + 70)) $((cy + 166 + 12))
click $((cx + 396 + 90)) $((cy + 96 + 12))
# APPLY.
click $((cx + 410 + 45)) $((cy + 450 + 15))
expect_cell $((B + 3)) 32 "the common DPI did not reach the first group"
expect_cell $((B + 8)) 32 "the common DPI did not reach the second group"
expect_cell 142 39 "lift-off 7 did not reach the mouse"
# Separate X and Y: the Y field takes 2000 (code 40); with the factory axis bit Y is group 1.
click $((cx + 36 + 10)) $((cy + 150 + 10))
sleep 0.5
shot cfgled-config-xy
click $((cx + 260 + 32)) $((cy + 300 + 11))
xdotool key End BackSpace BackSpace BackSpace BackSpace type --delay 80 2000
# The X slider (second group) to code 100: position 65.
click $((cx + 70 + 12)) $((cy + 196 + 8 + 64 * 204 / 163))
sleep 0.3
shot cfgled-config-xy-edited
# OK: everything written, the page gone, the profile's values stored.
click $((cx + 610 + 45)) $((cy + 450 + 15))
wait_gone 720x500 10 || fail "OK did not end the performance page"
expect_cell $((B + 3)) 40 "Y 2000 did not reach group 1"
expect_cell $((B + 8)) 100 "the X slider did not reach group 2"
[ "$(reg_value 'PF0 X-Y DPI Enabled')" = "1" ] || fail "the X-Y value was not stored"
[ "$(reg_value 'PF1 Motion Speed')" = "6" ] || fail "the cursor speed was not stored ($(reg_value 'PF1 Motion Speed'))"
[ "$(reg_value 'PF1 Double-Click_speed')" = "400" ] || fail "the double-click time was not stored"
[ "$(reg_value 'Configure Handle')" = "-1" ] && : 
[ "$(reg_value 'Current Dialog')" = "0" ] || fail "Current Dialog did not go back to 0"

# 2. The LED page: factory profile I, all zones lit red.
click $((px + 722 + 83)) $((py + 470 + 43))
led=$(wait_window 600x420 10) || fail "no LED page"
read -r lx ly <<<"$led"
wait_painted $((lx + 30)) $((ly + 300)) || fail "the LED page was not painted"
sleep 0.5
shot cfgled-led-normal
# Zone 1 (the logo) blue; zone 0 (the wheel) off; APPLY, then OK.
click $((lx + 160 + 13)) $((ly + 250))
click $((lx + 330 + 60)) $((ly + 76 + 2 * 36 + 14))
click $((lx + 160 + 13)) $((ly + 132))
click $((lx + 474 + 45)) $((ly + 140 + 14))
sleep 0.3
shot cfgled-led-edited
click $((lx + 300 + 45)) $((ly + 370 + 15))
expect_cell $((B + 11)) 36 "zone 1 blue did not reach the mouse"
expect_cell $((B + 13)) 1 "zone 0 off did not reach the mouse"
[ "$(peek $((B + 12)))" = "17" ] || fail "zone 2 changed"
click $((lx + 500 + 45)) $((ly + 370 + 15))
wait_gone 600x420 10 || fail "OK did not end the LED page"

# 3. The main window's battle mode, then the LED page shows every zone unlit.
click $((px + 722 + 83)) $((py + 194 + 16))
prompt=$(wait_window 420x230 10) || fail "no battle prompt"
read -r qx qy <<<"$prompt"
sleep 0.3
click $((qx + 165 + 45)) $((qy + 182 + 15))
expect_cell $((B + 12)) 49 "battle mode did not reach zone 2"
sleep 0.5
shot cfgled-main-battle
click $((px + 722 + 83)) $((py + 470 + 43))
led=$(wait_window 600x420 10) || fail "no LED page in battle mode"
read -r lx ly <<<"$led"
wait_painted $((lx + 30)) $((ly + 300))
sleep 0.5
shot cfgled-led-battle
# CANCEL: nothing applied, nothing written.
click $((lx + 400 + 45)) $((ly + 370 + 15))
wait_gone 600x420 10 || fail "CANCEL did not end the LED page"
expect_cell $((B + 12)) 49 "CANCEL changed zone 2"

# 4. CANCEL puts back what the page wrote through: level 4 and 125 Hz go, level 3 and 250 Hz
# come back.
click $((px + 546 + 83)) $((py + 470 + 43))
cfg=$(wait_window 720x500 10) || fail "no performance page the second time"
read -r cx cy <<<"$cfg"
wait_painted $((cx + 30)) $((cy + 300))
click $((cx + 36 + 210)) $((cy + 96 + 12))
click $((cx + 36 + 35)) $((cy + 444 + 14))
expect_cell $B 155 "level 4 and 125 Hz did not reach the mouse"
click $((cx + 510 + 45)) $((cy + 450 + 15))
wait_gone 720x500 10 || fail "CANCEL did not end the performance page"
expect_cell $B 146 "CANCEL did not put back level 3 and 250 Hz"

# 5. With the monitor: the mouse's own level, rate and profile changes reach the open page,
# which then writes only to the profile it switched to.
# The display stays off so that it covers nothing the checks look at.
WINEPREFIX="${HALVARD_WINEPREFIX:-$root/out/wineprefix}" /usr/lib/wine/wine64 reg add 'HKCU\Software\Halvard' \
  /v "Disable OSD" /t REG_DWORD /d 1 /f >/dev/null 2>&1
HALVARD_SIMULATE=$(winpath "$image") "$wine" "$build/HalvardMonitor.exe" /Automation >/dev/null 2>&1 &
monitor=$!
sleep 3
click $((px + 546 + 83)) $((py + 470 + 43))
cfg=$(wait_window 720x500 10) || fail "no performance page with the monitor"
read -r cx cy <<<"$cfg"
wait_painted $((cx + 30)) $((cy + 300))
"$simmouse" event "$image" dpi 1 >/dev/null || fail "simmouse event"
"$simmouse" event "$image" polling 3 >/dev/null || fail "simmouse event"
wait_colour() {  # X Y HEX WHAT
  local i
  for i in $(seq 50); do [ "$(pixel "$1" "$2")" = "$3" ] && return 0; sleep 0.1; done
  fail "$4 (colour $(pixel "$1" "$2"), wanted $3)"
}
# The level slider's thumb at level 2, the 125HZ button pressed.
wait_colour $((cx + 36 + 76 - 6)) $((cy + 96 + 4)) FF3C3C "the page did not take the mouse's level"
wait_colour $((cx + 36 + 6)) $((cy + 444 + 14)) 960F0F "the page did not take the mouse's polling rate"
shot cfgled-config-reports
"$simmouse" event "$image" profile 3 >/dev/null || fail "simmouse event"
sleep 1
# Profile IV: one sensitivity, level 1; the common field takes 400 DPI (code 8).
click $((cx + 110 + 32)) $((cy + 300 + 11))
xdotool key End BackSpace BackSpace BackSpace BackSpace type --delay 80 400
click $((cx + 610 + 45)) $((cy + 450 + 15))
wait_gone 720x500 10 || fail "OK did not end the page after the profile switch"
B3=512
expect_cell $((B3 + 1)) 8 "400 DPI did not reach profile IV's first group"
expect_cell $((B3 + 6)) 8 "400 DPI did not reach profile IV's second group"
[ "$(peek $((B + 1)))" = "16" ] && [ "$(peek $((B + 6)))" = "16" ] || fail "profile I's level 1 was written"
sleep 0.5
shot cfgled-main-followed

# 6. Unplugging while the performance page is open ends the page with the warning plate.
click $((px + 546 + 83)) $((py + 470 + 43))
wait_window 720x500 10 >/dev/null || fail "no performance page the third time"
"$simmouse" unplug "$image" >/dev/null
wait_gone 720x500 10 || fail "unplugging did not end the performance page"
wait_window 556x164 10 >/dev/null || fail "no warning plate after unplugging"
cleanup
echo "config and LED scenario: 6 steps passed"
