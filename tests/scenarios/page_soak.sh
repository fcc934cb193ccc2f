#!/bin/bash
# The soak run of the pages, by hand (make soak-pages): Halvard.exe on a simulated mouse opens and
# closes the advanced, LED, macro editor and profile manager pages and the reset prompt ROUNDS
# times, driven from another process; the program's windows, GDI objects, user objects and
# handles after every 20 rounds and its resident memory every 10 s are printed; none of the
# counts may be higher at the end than after the first round.
#   page_soak.sh BUILD_DIR SIMMOUSE [ROUNDS]
set -u
build=$(cd "${1:?build folder}" && pwd)
simmouse=${2:?simmouse}
rounds=${3:-200}
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$root/out/scenarios/page-soak"
shots="$root/out/screenshots"
rm -rf "$work" && mkdir -p "$work" "$shots"
image="$work/mouse.img"
name=soak
. "$root/tests/scenarios/lib.sh"

"$simmouse" create "$image" >/dev/null || fail "cannot make the mouse image"
start
page=$(wait_window 930x768 120) || fail "the ready page did not come"
read -r px py <<<"$page"
wait_painted $((px + 40)) $((py + 400)) || fail "the ready page was not painted"
sleep 1
rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }
echo "soak: resident memory at the start $(rss) kB"
( while kill -0 "$pid" 2>/dev/null; do echo "soak: resident $(rss) kB"; sleep 10; done ) &
sampler=$!
t0=$(date +%s)
"$wine" "$build/tools/page_soak.exe" "$rounds" 2>&1 | tr -d '\r' | tee "$work/soak.log"
rc=${PIPESTATUS[0]}
kill "$sampler" 2>/dev/null
echo "soak: resident memory at the end $(rss) kB after $(( $(date +%s) - t0 )) s"
shot soak-end
kill -0 "$pid" 2>/dev/null || fail "the program ended during the soak"
cleanup
[ "$rc" = 0 ] || { echo "FAIL: the soak stopped"; exit 1; }
# The first round makes what is made once (tooltips, the popup); from then on nothing may grow:
# windows, GDI objects, user objects, handles.
first=$(grep '^soak: round' "$work/soak.log" | sed -n 2p) last=$(grep '^soak: round' "$work/soak.log" | tail -1)
echo "$first -> ${last#soak: }"
for field in 5 7 9 11; do
  what=$(echo "$first" | awk "{print \$$((field - 1))}")
  [ "$(echo "$last" | awk "{print \$$field}")" -le "$(echo "$first" | awk "{print \$$field}")" ] ||
    { echo "FAIL: the $what count grew"; exit 1; }
done
echo "page soak: $rounds rounds passed"
