#!/bin/bash
# make demo: the suite in simulation mode under Wine against a simulated mouse image: the
# monitor, which brings up the main program half a second after its start.
# On $DISPLAY it runs until you choose Exit in its tray menu; without a display it runs on a
# private Xvfb, and pictures of the loading popup, the ready window and the OSD after a profile
# event are written to out/screenshots/.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$root/out/build/mingw"
simmouse="$root/out/build/native/tools/simmouse"
export WINEPREFIX="${HALVARD_WINEPREFIX:-$root/out/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64
"$here/wine-prefix.sh" || exit 1

image="$root/out/demo/mouse.img"
mkdir -p "$root/out/demo" "$root/out/screenshots"
[ -f "$image" ] || "$simmouse" create "$image" || exit 1
export HALVARD_SIMULATE="Z:${image//\//\\}"

cat <<MSG
Halvard demo: the simulated mouse is $image
  $simmouse unplug $image     # the warning plate
  $simmouse plug $image       # loads again 5 s later
  $simmouse create ${image%.img}-2.img   # a second mouse (asked for at the next start)
  $simmouse fault $image fail-write-from 256   # writes of profile 1 and above fail
  $simmouse status $image
Mouse events for the monitor (its OSD shows them; the main window follows):
  $simmouse event $image profile 2    # profiles 0-4 (I-V)
  $simmouse event $image dpi 1        # DPI levels 0-3 of the active profile
  $simmouse event $image lock 1       # 1 locked, 0 unlocked
  $simmouse event $image polling 2    # 0 = 1000 Hz, 1 = 500, 2 = 250, 3 = 125
  $simmouse event $image launch 0 3   # profile, button: starts the program stored in "PF0T4 AP"
MSG

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
  exec "$wine" "$build/HalvardMonitor.exe"
fi

# No display: a private one, and pictures of what it shows.
for n in $(seq 170 199); do [ -e "/tmp/.X$n-lock" ] || break; done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
sleep 1
command -v xcompmgr >/dev/null && { xcompmgr >/dev/null 2>&1 & }
"$wine" "$build/HalvardMonitor.exe" >/dev/null 2>&1 &
app=$!
shown() { xwininfo -root -tree 2>/dev/null | grep -i '"halvard.exe"' | grep -q " $1+"; }
for _ in $(seq 300); do shown 146x81 && break; sleep 0.1; done
sleep 1
import -window root "$root/out/screenshots/demo-loading.png"
for _ in $(seq 600); do shown 930x768 && break; sleep 0.1; done
sleep 1
import -window root "$root/out/screenshots/demo-ready.png"
"$simmouse" event "$image" profile 2
sleep 0.8
import -window root "$root/out/screenshots/demo-osd.png"
echo "demo: out/screenshots/demo-loading.png, demo-ready.png and demo-osd.png"
kill "$app" 2>/dev/null
/usr/lib/wine/wineserver -k 2>/dev/null
kill "$xvfb" 2>/dev/null
