#!/bin/bash
# The full page of Halvard.exe on a simulated mouse, driven by real clicks and keys: every profile
# tab, a hot spot with its plate, the four kinds of assignment (single key and macro through their
# prompts, the launcher through the system's file dialog, the factory function), APPLY, a tab
# switch over pending edits (the save prompt), a profile file chosen from the profile list, and a
# reset. After each the simulated mouse's memory is checked. Pictures go to
# out/screenshots/page-*.png; the figures printed are the time from a tab click to the repainted
# tab and the CPU time of one full repaint.
#   full_page.sh BUILD_DIR SIMMOUSE
set -u
build=$(cd "${1:?build folder}" && pwd)
simmouse=${2:?simmouse}
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$root/out/scenarios/full-page"
shots="$root/out/screenshots"
rm -rf "$work" && mkdir -p "$work" "$shots"
image="$work/mouse.img"
name=page
. "$root/tests/scenarios/lib.sh"

# The user's documents folder of the prefix holds the macro and profile files.
prefix="${HALVARD_WINEPREFIX:-$root/out/wineprefix}"
"$root/tools/wine-prefix.sh" || fail "no Wine prefix"
docs=$(readlink -f "$prefix/drive_c/users/$(id -un)/Documents")
data="$docs/Halvard"
mkdir -p "$data"
# A four-byte macro: A down, a delay of 5 units, A up.
printf '\x6d\xa5\xa1\x04\x00\x19\x01\x00\x00\x04\x01\x05\x84' >"$data/Combo.Mac"
# An empty profile file "Arena" (what the profile manager's New starts from): APPLY fills it.
{ printf '\x6d\xa5\x04\x73\x0b\x00'; head -c 20093 /dev/zero; } >"$data/Arena.pf"
cp "$build/Halvard.exe" "$work/Tool.exe"

"$simmouse" create "$image" || fail "cannot make the mouse image"
"$simmouse" poke "$image" 140 0x50 >/dev/null
# Profile I is called "Arena": APPLY saves it into Arena.pf.
nb=$((236 * 64))
"$simmouse" poke "$image" $nb 5 >/dev/null
k=0
for c in 65 114 101 110 97; do
  "$simmouse" poke "$image" $((nb + 1 + 2 * k)) $c >/dev/null
  "$simmouse" poke "$image" $((nb + 2 + 2 * k)) 0 >/dev/null
  k=$((k + 1))
done

B() { echo $((${2:-0} + $(echo "256 336 416 512 592" | cut -d' ' -f$(($1 + 1))))); }
type_of() { echo $(($(B "$1") + 14 + $2)); }        # profile button
param_of() { echo $(($(B "$1") + 25 + 4 * $2)); }   # profile button: first parameter
header_of() { echo $((768 + 44 * $1 + 4 * $2 + $3)); }
slot_of() { echo $((1024 + 2816 * $1 + 256 * $2 + $3)); }
# Control centres on the page, from the layout the pictures are drawn to (filled once the page is up).
declare -A at
press() { click ${at[$1]}; }
# A prompt of this size; prints "x y".
prompt() { wait_window "$1" 10 || fail "no prompt of size $1"; }

# 1. The ready page; every tab, and the time from a tab click to its repainted picture.
start
page=$(wait_window 930x768 60) || fail "the ready page did not come"
read -r px py <<<"$page"
while read -r id x y w h; do at[$id]="$((px + x + w / 2)) $((py + y + h / 2))"; done <"$root/resources/art/main-layout.txt"
wait_painted $((px + 40)) $((py + 400)) || fail "the ready page was not painted"
sleep 0.5
probe="$build/tools/repaint_probe.exe"
for t in 1 2 3 4 0; do
  "$wine" "$probe" tab $t 2>&1 | tr -d '\r' | sed 's/^probe: /figure: /'
  expect_cell 140 $((0x50 + t)) "tab $((t + 1))"
  sleep 0.3
  shot "page-profile$((t + 1))"
done

# 2. A hot spot lights and the plate names its button.
xdotool mousemove ${at[1741]}
sleep 0.8
shot page-hotspot

# 3. Single key: button 4 of profile I becomes SHIFT (list position 9; BACKWARD, 4, is preselected).
press 1743
press 1116
read -r qx qy <<<"$(prompt 420x230)"
sleep 0.3
shot page-prompt-single
click $((qx + 200)) $((qy + 99))
sleep 0.3
xdotool key Down Down Down Down Down Return
sleep 0.3
click $((qx + 145)) $((qy + 197))
wait_gone 420x230 10 || fail "the single key prompt stayed"

# 4. Macro: button 5 gets Combo, once; its bytes and header reach the mouse at once.
press 1744
press 1115
read -r qx qy <<<"$(prompt 420x340)"
sleep 0.3
click $((qx + 200)) $((qy + 99))
sleep 0.3
xdotool key Down Return
sleep 0.3
click $((qx + 39)) $((qy + 171))
sleep 0.3
shot page-prompt-macro
click $((qx + 145)) $((qy + 307))
wait_gone 420x340 10 || fail "the macro prompt stayed"
i=0
for b in 4 1 5 132; do expect_cell "$(slot_of 0 4 $i)" $b "macro byte $i"; i=$((i + 1)); done
expect_cell "$(header_of 0 4 0)" 4 "macro length"
expect_cell "$(header_of 0 4 1)" 2 "macro header constant"
expect_cell "$(header_of 0 4 3)" 5 "macro mode (once)"

# 5. Launcher: button 6 starts Tool.exe, chosen in the system's file dialog.
press 1745
press 1118
for _ in $(seq 100); do xwininfo -root -tree 2>/dev/null | grep -q '"Open"' && break; sleep 0.1; done
xwininfo -root -tree 2>/dev/null | grep -q '"Open"' || fail "no file dialog"
sleep 1
shot page-file-dialog
xdotool type --delay 20 "$(winpath "$work/Tool.exe")"
xdotool key Return
for _ in $(seq 50); do xwininfo -root -tree 2>/dev/null | grep -q '"Open"' || break; sleep 0.1; done
sleep 0.5
ap=$("$wine" reg query 'HKCU\Software\Halvard' /v "PF0T6 AP" 2>/dev/null | tr -d '\r' | grep -i "REG_SZ")
case "$ap" in *Tool.exe) ;; *) fail "the launcher path was not stored: $ap" ;; esac
apname=$("$wine" reg query 'HKCU\Software\Halvard' /v "PF0T6 AP Name" 2>/dev/null | tr -d '\r' | grep -i "REG_SZ")
case "$apname" in *Tool) ;; *) fail "the launcher name was not stored: $apname" ;; esac
xdotool mousemove ${at[1745]}
sleep 0.6
shot page-assigned

# 6. APPLY: the single key and the launcher reach the mouse; the profile file is written.
[ "$(peek "$(type_of 0 3)")" = 1 ] || fail "the single key reached the mouse before APPLY"
press 1013
expect_cell "$(type_of 0 3)" 2 "button 4 type"
expect_cell "$(param_of 0 3)" 2 "button 4 is SHIFT"
expect_cell "$(type_of 0 4)" 6 "button 5 type (macro)"
expect_cell "$(type_of 0 5)" 15 "button 6 type (launch)"
# Button 6's launch type, in the settings the file keeps from offset 6.
launch_at=$((6 + 14 + 5))
for _ in $(seq 50); do [ "$(od -An -tu1 -j$launch_at -N1 "$data/Arena.pf" | tr -d ' ')" = 15 ] && break; sleep 0.1; done
[ "$(od -An -tu1 -j$launch_at -N1 "$data/Arena.pf" | tr -d ' ')" = 15 ] || fail "APPLY did not save profile I into Arena.pf"

# 7. Button 4 back to its factory function, then tab II: the save prompt; OK applies and switches.
press 1743
press 1117
press 1201
read -r qx qy <<<"$(prompt 420x230)"
sleep 0.3
shot page-prompt-save
click $((qx + 145)) $((qy + 197))
expect_cell "$(type_of 0 3)" 1 "button 4 type after the save prompt"
expect_cell "$(param_of 0 3)" 8 "button 4 is BACKWARD again"
expect_cell 140 $((0x51)) "tab II after the save prompt"

# 8. The profile list: profile II takes Arena.pf (position 1 after "Default").
press 1787
sleep 0.5
shot page-profile-list
# The list drops under the profile button, one 20-pixel row an entry: Arena is the second. The
# load runs as a timed transfer with the popup and the page switched off.
click $((px + 770)) $((py + 114 + 20 + 30))
wait_window 146x81 10 >/dev/null || fail "no popup while the profile file loads"
shot page-transfer
expect_cell "$(type_of 1 5)" 15 "profile II button 6 from Arena.pf"
expect_cell "$(type_of 1 4)" 6 "profile II button 5 from Arena.pf"
expect_cell $((237 * 64)) 5 "profile II name length"
expect_cell $((237 * 64 + 1)) 65 "profile II name"

# 9. Reset profile II: the prompt, then the factory cells.
sleep 1
press 1006
read -r qx qy <<<"$(prompt 420x230)"
sleep 0.3
shot page-prompt-reset
click $((qx + 145)) $((qy + 197))
expect_cell "$(type_of 1 5)" 10 "profile II button 6 reset to SENSITIVITY-DOWN"
expect_cell "$(type_of 1 4)" 1 "profile II button 5 reset to FORWARD"
expect_cell "$(param_of 1 4)" 16 "profile II button 5 reset to FORWARD"
# Profile I kept its own assignments.
[ "$(peek "$(type_of 0 5)")" = 15 ] || fail "the reset reached profile I"
wait_gone 146x81 20 || fail "the popup stayed"

# 10. CPU of one full repaint: 100 repaints asked for from outside, against the same time idle.
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
tick=$(getconf CLK_TCK)
c0=$(cpu); t0=$(ms)
"$wine" "$probe" redraw 100 2>&1 | tr -d '\r' | sed 's/^probe: /figure: /'
c1=$(cpu); t1=$(ms)
sleep $(((t1 - t0) / 1000)).$(((t1 - t0) % 1000 / 100))
c2=$(cpu)
echo "figure: one full repaint $(( ((c1 - c0) - (c2 - c1)) * 1000000 / tick / 100 )) us of the program's CPU ($((c1 - c0)) ticks for 100, $((c2 - c1)) idle)"

cleanup
rm -f "$data/Arena.pf" "$data/Combo.Mac"
echo "full page scenario: 10 steps passed"
