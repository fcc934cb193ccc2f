#!/bin/bash
# HalvardMonitor.exe and Halvard.exe in simulation mode on one simulated mouse: the monitor brings
# up the main program; mouse events sent with `simmouse event` show on the OSD and switch the main
# window's profile; a launch event starts the assigned program; a launch of a missing file does
# nothing; the tray menu switches the OSD off and on; a second monitor start shows the hidden main
# window and ends; Exit ends both.
# Pictures go to out/screenshots/monitor-*.png.
# The soak mode sends N mixed events (profile, DPI level, polling rate, lock) and a launch at the
# end, and reports how long the monitor took and how its memory moved.
#   monitor.sh BUILD_DIR SIMMOUSE [soak N]
set -u
build=${1:?build folder}
simmouse=${2:?simmouse}
mode=${3:-scenario}
count=${4:-10000}
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$root/out/scenarios/monitor"
shots="$root/out/screenshots"
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-${HALVARD_WINEPREFIX:-$root/out/wineprefix}}"
rm -rf "$work" && mkdir -p "$work" "$shots"
image="$work/mouse.img"
probe="$work/probe.exe"
cp "$build/tests/monitor/monitor_probe.exe" "$probe" || { echo "FAIL: no monitor_probe.exe"; exit 1; }
winpath() { echo "Z:${1//\//\\}"; }
export HALVARD_SIMULATE=$(winpath "$image")
shot() { import -window root "$shots/$1.png" 2>/dev/null; }
monitor=
compositor=
cleanup() {
  [ -n "$monitor" ] && kill "$monitor" 2>/dev/null
  [ -n "$compositor" ] && kill "$compositor" 2>/dev/null
  sleep 0.3
}
fail() { echo "FAIL: $*"; shot monitor-failure; "$wine" "$probe" post "Monitor Handle" 2100 >/dev/null 2>&1; cleanup; exit 1; }
# A viewable window of the program (lower-case exe name) of exactly this size; prints "x y".
find_window() {  # EXE SIZE
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -i "\"$1\"" | grep " $2+" | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' || continue
    xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
    return 0
  done
}
wait_window() {  # EXE SIZE SECONDS
  local until=$(($(date +%s) + $3)) pos
  while [ "$(date +%s)" -le "$until" ]; do
    pos=$(find_window "$1" "$2")
    [ -n "$pos" ] && { echo "$pos"; return 0; }
    sleep 0.1
  done
  return 1
}
wait_gone() {  # EXE SIZE SECONDS
  local until=$(($(date +%s) + $3))
  while [ "$(date +%s)" -le "$until" ]; do
    [ -z "$(find_window "$1" "$2")" ] && return 0
    sleep 0.1
  done
  return 1
}
# Any viewable window of the monitor process: the OSD (the hidden window is never shown).
osd_shown() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -i '"halvardmonitor.exe"' | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' && return 0
  done
  return 1
}
wait_osd() {
  for _ in $(seq 50); do osd_shown && return 0; sleep 0.1; done
  return 1
}
reg_set() {  # NAME TYPE DATA
  "$wine" reg add 'HKCU\Software\Halvard' /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1
}
ms() { date +%s%3N; }
if command -v xcompmgr >/dev/null && ! pgrep -x xcompmgr >/dev/null; then
  xcompmgr >/dev/null 2>&1 &
  compositor=$!
fi

"$simmouse" create "$image" || fail "cannot make the mouse image"
"$simmouse" poke "$image" 140 0x50 >/dev/null
reg_set "Disable OSD" REG_DWORD 0
reg_set "Current Dialog" REG_DWORD 0
reg_set "PF2T4 AP" REG_SZ "$(winpath "$probe")"
reg_set "PF2T5 AP" REG_SZ "$(winpath "$work/missing.exe")"

# 1. The monitor starts the main program half a second after its own start.
t0=$(ms)
"$wine" "$build/HalvardMonitor.exe" >/dev/null 2>&1 &
monitor=$!
page=$(wait_window halvard.exe 930x768 60) || fail "the monitor did not bring up the main program"
echo "figure: monitor start to the main program's ready page $(($(ms) - t0)) ms"
read -r px py <<<"$page"
sleep 1
shot monitor-main-ready
tabs() { convert "$shots/$1.png" -crop 640x40+$((px + 60))+$((py + 104)) +repage "$work/$1-tabs.png"; }
tabs monitor-main-ready

if [ "$mode" = soak ]; then
  rss() { awk '/VmRSS/ {print $2}' "/proc/$monitor/status"; }
  before=$(rss)
  t1=$(ms)
  for i in $(seq "$count"); do
    case $((i % 4)) in
      0) "$simmouse" event "$image" profile $((i % 5)) ;;
      1) "$simmouse" event "$image" dpi $((i % 4)) ;;
      2) "$simmouse" event "$image" polling $((i % 4)) ;;
      3) "$simmouse" event "$image" lock $((i % 2)) ;;
    esac || fail "simmouse event $i"
  done
  t2=$(ms)
  "$simmouse" event "$image" launch 2 3 || fail "simmouse event"
  for _ in $(seq 600); do [ -f "$probe.ran" ] && break; sleep 0.1; done
  [ -f "$probe.ran" ] || fail "the launch after the soak never came"
  t3=$(ms)
  after=$(rss)
  kill -0 "$monitor" 2>/dev/null || fail "the monitor ended during the soak"
  [ -n "$(find_window halvard.exe 930x768)" ] || fail "the main window went away during the soak"
  shot monitor-soak-end
  echo "figure: $count events sent in $((t2 - t1)) ms ($(( (t2 - t1) * 1000 / count )) us each)"
  echo "figure: last event to the launch after them $((t3 - t2)) ms"
  echo "figure: monitor resident memory ${before} kB before, ${after} kB after"
  "$wine" "$probe" post "Monitor Handle" 2100 >/dev/null 2>&1
  for _ in $(seq 100); do kill -0 "$monitor" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$monitor" 2>/dev/null && fail "Exit did not end the monitor"
  monitor=
  cleanup
  echo "monitor soak: passed"
  exit 0
fi

# 2. Profile III on the mouse: the OSD shows it and the main window follows.
t1=$(ms)
"$simmouse" event "$image" profile 2 || fail "simmouse event"
wait_osd || fail "no OSD after the profile event"
echo "figure: profile event to OSD shown $(($(ms) - t1)) ms"
sleep 0.4
shot monitor-osd-profile
tabs monitor-osd-profile
diff=$(compare -metric AE "$work/monitor-main-ready-tabs.png" "$work/monitor-osd-profile-tabs.png" null: 2>&1)
[ "${diff%% *}" -gt 1000 ] 2>/dev/null || fail "the main window's tabs did not change ($diff pixels)"
[ "$("$simmouse" peek "$image" 140)" = "82" ] || fail "the mouse is not on profile III"

# 3. A DPI level change shows the level's DPI.
for _ in $(seq 60); do osd_shown || break; sleep 0.1; done
osd_shown && fail "the OSD did not hide after the profile"
"$simmouse" event "$image" dpi 1 || fail "simmouse event"
wait_osd || fail "no OSD after the DPI event"
sleep 0.4
shot monitor-osd-dpi

# 4. A launch event starts the assigned program; one naming a missing file does nothing.
"$simmouse" event "$image" launch 2 4 || fail "simmouse event"
"$simmouse" event "$image" launch 2 3 || fail "simmouse event"
t2=$(ms)
for _ in $(seq 100); do [ -f "$probe.ran" ] && break; sleep 0.1; done
[ -f "$probe.ran" ] || fail "the launch event did not start the assigned program"
echo "figure: launch event to the program's file $(($(ms) - t2)) ms"
[ "$(grep -c ran "$probe.ran")" = 1 ] || fail "the program was started more than once"
xwininfo -root -tree 2>/dev/null | grep -i '"halvardmonitor.exe"' | grep -qi 'error' && fail "an error box came up"

# 5. Out-of-range and short reports change nothing.
"$simmouse" event "$image" raw 0xA4 1 0x70 16 16 0 0 || fail "simmouse event"
"$simmouse" event "$image" raw 0xA4 9 0 0 0 0 0 || fail "simmouse event"
sleep 0.5
kill -0 "$monitor" 2>/dev/null || fail "the monitor ended after bad reports"

# 6. The tray menu: "Disable OSD" keeps the next event off the screen; "Enable OSD" brings it back.
for _ in $(seq 60); do osd_shown || break; sleep 0.1; done
tray=$(xwininfo -root -tree 2>/dev/null | grep '"Wine System Tray"' | sed -n 's/.* [0-9]*x[0-9]*+\([0-9]*\)+\([0-9]*\) .*/\1 \2/p' | head -1)
[ -n "$tray" ] || fail "no tray icon"
read -r tx ty <<<"$tray"
menu_item() {  # OFFSET: right button on the icon, then the menu entry OFFSET pixels below its top
  xdotool mousemove $((tx + 10)) $((ty + 10)) sleep 0.3 click 3
  local pos=
  for _ in $(seq 30); do
    for id in $(xwininfo -root -tree 2>/dev/null | grep -i '"halvardmonitor.exe"' | grep -v ' 1x1+' | awk '{print $1}'); do
      xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' || continue
      pos=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
    done
    [ -n "$pos" ] && break
    sleep 0.1
  done
  [ -n "$pos" ] || return 1
  read -r mx my <<<"$pos"
  shot "monitor-tray-menu"
  xdotool mousemove $((mx + 40)) $((my + $1)) sleep 0.2 click 1
}
osd_value() { "$wine" reg query 'HKCU\Software\Halvard' /v "Disable OSD" 2>/dev/null | grep -o '0x[0-9a-f]*'; }
menu_item 45 || fail "no tray menu"
for _ in $(seq 30); do [ "$(osd_value)" = 0x1 ] && break; sleep 0.1; done
[ "$(osd_value)" = 0x1 ] || fail "Disable OSD was not stored"
"$simmouse" event "$image" dpi 2 || fail "simmouse event"
sleep 1
osd_shown && fail "the OSD showed while disabled"
menu_item 45 || fail "no tray menu"
for _ in $(seq 30); do [ "$(osd_value)" = 0x0 ] && break; sleep 0.1; done
[ "$(osd_value)" = 0x0 ] || fail "Enable OSD was not stored"
"$simmouse" event "$image" dpi 0 || fail "simmouse event"
wait_osd || fail "no OSD after enabling it again"

# 7. Hidden by CANCEL, the main window comes back on a second monitor start, which ends.
xdotool mousemove $((px + 668 + 55)) $((py + 704 + 18)) sleep 0.2 click 1
wait_gone halvard.exe 930x768 10 || fail "CANCEL did not hide the main window"
timeout 30 "$wine" "$build/HalvardMonitor.exe" >/dev/null 2>&1 || fail "the second monitor did not end by itself"
wait_window halvard.exe 930x768 10 >/dev/null || fail "the second monitor did not bring the main window back"
kill -0 "$monitor" 2>/dev/null || fail "the first monitor ended"

# 8. Exit from the tray menu's command ends the main program and the monitor.
"$wine" "$probe" post "Monitor Handle" 2100 >/dev/null 2>&1 || fail "cannot post Exit"
for _ in $(seq 100); do kill -0 "$monitor" 2>/dev/null || break; sleep 0.1; done
kill -0 "$monitor" 2>/dev/null && fail "Exit did not end the monitor"
monitor=
wait_gone halvard.exe 930x768 10 || fail "Exit did not close the main program"
cleanup
echo "monitor scenario: 8 steps passed"
