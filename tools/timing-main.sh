#!/bin/bash
# Timed runs of the main program under Wine (by hand: `make timing`): start to the first paint of
# the warning plate with no mouse, and the full load of a simulated mouse that takes 1 ms per
# report, against its floor of 668 x (10 ms + 2 reports).
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$root/out/build/mingw"
simmouse="$root/out/build/native/tools/simmouse"
export WINEPREFIX="${HALVARD_WINEPREFIX:-$root/out/wineprefix}" WINEDEBUG=-all
wine=/usr/lib/wine/wine64
"$here/wine-prefix.sh" || exit 1
work="$root/out/timing" && rm -rf "$work" && mkdir -p "$work"
image="$work/mouse.img"
"$simmouse" create "$image" >/dev/null
export HALVARD_SIMULATE="Z:${image//\//\\}"
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 170 199); do [ -e "/tmp/.X$n-lock" ] || break; done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
  export DISPLAY=":$n"; sleep 1
fi
"$wine" "$build/tools/wine_keepalive.exe" 3600 >/dev/null 2>&1 & keep=$!
sleep 2
ms() { date +%s%3N; }
viewable() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -i '"halvard.exe"' | grep " $1+" | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && return 0
  done
  return 1
}
run_until() {  # SIZE: milliseconds from start until a window of that size shows
  local t0 pid
  t0=$(ms)
  "$wine" "$build/Halvard.exe" >/dev/null 2>&1 & pid=$!
  until viewable "$1"; do sleep 0.01; done
  echo $(($(ms) - t0))
  kill $pid 2>/dev/null; wait $pid 2>/dev/null; sleep 0.5
}
"$simmouse" unplug "$image" >/dev/null
for i in 1 2 3; do echo "start to warning plate: $(run_until 556x164) ms"; done
"$simmouse" plug "$image" >/dev/null
"$simmouse" fault "$image" latency 1 >/dev/null
for i in 1 2; do
  t0=$(ms)
  "$wine" "$build/Halvard.exe" >/dev/null 2>&1 & pid=$!
  until viewable 146x81; do sleep 0.01; done
  t1=$(ms)
  until viewable 930x768; do sleep 0.01; done
  t2=$(ms)
  floor=$((668 * (10 + 2)))
  echo "full load at 1 ms per report: $((t2 - t1)) ms (floor $floor ms, ratio $(echo "scale=2; ($t2 - $t1) / $floor" | bc))"
  kill $pid 2>/dev/null; wait $pid 2>/dev/null; sleep 0.5
done
kill $keep 2>/dev/null
/usr/lib/wine/wineserver -k 2>/dev/null
[ -n "${xvfb:-}" ] && kill $xvfb
