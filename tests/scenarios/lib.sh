# Shared by the Halvard.exe scenarios: finding and waiting for its windows, real clicks, pictures
# and starting and stopping only the programs a scenario started. Source after setting `build`,
# `image`, `shots` and `name` (the prefix of the scenario's pictures).
wine="$root/tools/wine-run"  # the project prefix, or HALVARD_WINEPREFIX
export WINEDEBUG=-all
winpath() { echo "Z:${1//\//\\}"; }
shot() { import -window root "$shots/$1.png" 2>/dev/null; }
fail() { echo "FAIL: $*"; shot "$name-failure"; cleanup; exit 1; }
# A shown window of the program of exactly this size; prints "x y".
find_window() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | grep -i '"halvard.exe"' | grep " $1+" | awk '{print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' || continue
    xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
    return 0
  done
}
wait_window() {  # SIZE SECONDS
  local until=$(($(date +%s) + $2))
  while [ "$(date +%s)" -le "$until" ]; do
    pos=$(find_window "$1")
    [ -n "$pos" ] && { echo "$pos"; return 0; }
    sleep 0.1
  done
  return 1
}
wait_gone() {  # SIZE SECONDS
  local until=$(($(date +%s) + $2))
  while [ "$(date +%s)" -le "$until" ]; do
    [ -z "$(find_window "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}
# The colour at x, y as RRGGBB.
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p'; }
# Waits until the screen at x, y shows the page's dark ground rather than an unpainted window.
wait_painted() {
  local i c
  for i in $(seq 100); do
    c=$(pixel "$1" "$2")
    [ -n "$c" ] && [ $((16#${c:0:2})) -lt 128 ] && return 0
    sleep 0.1
  done
  return 1
}
click() { xdotool mousemove "$1" "$2" sleep 0.2 click "${3:-1}"; }  # X Y [BUTTON]
# A top-level window by its title (the system's file dialogs); prints "x y".
wait_titled() {  # TITLE SECONDS
  local i line
  for i in $(seq $(($2 * 5))); do
    line=$(xwininfo -root -tree 2>/dev/null | grep "\"$1\"" | grep -v ' 1x1+' | head -1)
    if [ -n "$line" ]; then
      echo "$line" | sed -n 's/.* [0-9]*x[0-9]*+\(-\?[0-9]*\)+\(-\?[0-9]*\) .*/\1 \2/p'
      return 0
    fi
    sleep 0.2
  done
  return 1
}
wait_file() {  # PATH SECONDS: exists (or, with "!PATH", is gone)
  local i want=1 f=$1
  [ "${f:0:1}" = "!" ] && { want=0; f=${f:1}; }
  for i in $(seq $(($2 * 10))); do
    if [ -e "$f" ]; then [ $want = 1 ] && return 0; else [ $want = 0 ] && return 0; fi
    sleep 0.1
  done
  return 1
}
# Waits until `simmouse peek` of CELL gives VALUE; false after SECONDS.
wait_cell() {  # CELL VALUE SECONDS
  local n
  for n in $(seq $(($3 * 10))); do
    [ "$("$simmouse" peek "$image" "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
peek() { "$simmouse" peek "$image" "$1"; }
expect_cell() {  # CELL VALUE WHAT: within 10 s, else the scenario fails
  wait_cell "$1" "$2" 10 || fail "$3: cell $1 is $(peek "$1"), wanted $2"
}
ms() { date +%s%3N; }
# Waits until the program is idle: at most 2 ticks (20 ms) of processor time in the last half
# second, against some 50 while it works; its hover timers keep it from using none at all.
# Prints how many milliseconds that took from the call, the quiet half second not counted.
wait_idle() {  # SECONDS
  local t0 now ticks=()
  t0=$(ms)
  while [ $(($(ms) - t0)) -lt $(($1 * 1000)) ]; do
    now=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null) || return 1
    ticks+=("$now")
    if [ ${#ticks[@]} -gt 5 ] && [ $((now - ticks[${#ticks[@]} - 6])) -le 2 ]; then
      echo $(($(ms) - t0 - 500))
      return 0
    fi
    sleep 0.1
  done
  return 1
}
pid=
first=
start() { HALVARD_SIMULATE=$(winpath "$image") "$wine" "$build/Halvard.exe" "$@" >/dev/null 2>&1 & pid=$!; }
compositor=
# With a compositor the drop shadow shows as it does on Windows.
if command -v xcompmgr >/dev/null; then
  xcompmgr >/dev/null 2>&1 &
  compositor=$!
fi
cleanup() {
  # Only the programs this script started: other Halvard windows on the machine are not ours.
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$first" ] && kill "$first" 2>/dev/null
  [ -n "$compositor" ] && kill "$compositor" 2>/dev/null
  sleep 0.5
  # A scenario's own tidying, where it defines one.
  if declare -F after_cleanup >/dev/null; then after_cleanup; fi
}
