#!/bin/bash
# The macro editor of the real Halvard.exe in simulation mode under Wine, driven by real input:
# opened from the full page by a click, a new macro is created, recorded from keys, mouse buttons
# and the wheel with known pauses, stopped, checked row by row and saved; back on the main page
# it is assigned to button 4 and APPLY puts its bytes and header on the simulated mouse; opened
# again, the editor shows the recorded macro. Pictures: out/screenshots/macro-*.png.
#   macro_editor.sh BUILD_DIR SIMMOUSE
set -u
build=${1:?build folder}
simmouse=${2:?simmouse}
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$root/out/scenarios/macro-editor"
shots="$root/out/screenshots"
rm -rf "$work" && mkdir -p "$work" "$shots"
image="$work/mouse.img"
name=macro
. "$root/tests/scenarios/lib.sh"
prefix="${HALVARD_WINEPREFIX:-$root/out/wineprefix}"
macro_folder() { find "$prefix/drive_c/users" -maxdepth 3 -type d -path '*/Documents' | grep -v Public | head -1; }
hex() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'; }

"$simmouse" create "$image" >/dev/null || fail "cannot make the mouse image"
"$simmouse" poke "$image" 140 0x50 >/dev/null  # profile I active

# A full macro beside the one recorded here: 128 presses and releases of A, 256 bytes.
docs=$(macro_folder)
[ -n "$docs" ] || { "$wine" cmd /c exit >/dev/null 2>&1; docs=$(macro_folder); }
mkdir -p "$docs/Halvard"
rm -f "$docs/Halvard/"*.Mac
{ printf '\x6d\xa5\xa1\x00\x01\x19\x00\x00\x00'; for _ in $(seq 128); do printf '\x04\x84'; done; } >"$docs/Halvard/Dense.Mac"
printf '\x6d\xa5\xa1\x00\x00\x19\x01\x00\x00' >"$docs/Halvard/Empty.Mac"

# 1. The ready page, then a click on the page button opens the editor.
start
page=$(wait_window 930x768 90) || fail "the ready page did not come"
read -r px py <<<"$page"
wait_painted $((px + 40)) $((py + 400)) || fail "the ready page was not painted"
click $((px + 546 + 83)) $((py + 566 + 43))
editor=$(wait_window 600x500 10) || fail "the page button did not open the editor"
read -r ex ey <<<"$editor"
wait_painted $((ex + 300)) $((ey + 480)) || fail "the editor was not painted"
sleep 0.5
shot macro-opened

# 3. A new macro "Combo" by the name prompt.
click $((ex + 330 + 40)) $((ey + 58 + 14))
t0=$(ms)
prompt=$(wait_window 420x230 40) || fail "no name prompt"
echo "name prompt after $(($(ms) - t0)) ms"
read -r qx qy <<<"$prompt"
sleep 0.3
xdotool mousemove $((qx + 200)) $((qy + 95)) click 1 type --delay 60 Combo
xdotool key Return
wait_gone 420x230 10 || fail "the name prompt stayed"
for _ in $(seq 50); do [ -f "$docs/Halvard/Combo.Mac" ] && break; sleep 0.1; done
[ -f "$docs/Halvard/Combo.Mac" ] || fail "no Combo.Mac made"
[ "$(hex "$docs/Halvard/Combo.Mac")" = "6d a5 a1 00 00 19 01 00 00" ] || fail "new macro file: $(hex "$docs/Halvard/Combo.Mac")"
sleep 0.3

# 4. RECORD, then real input with known pauses, then STOP (its click is not recorded).
click $((ex + 360 + 52)) $((ey + 134 + 15))
sleep 0.5
xdotool mousemove $((ex + 150)) $((ey + 300))
sleep 0.3
xdotool keydown a; sleep 0.4; xdotool keyup a      # A: 400 ms held
sleep 1.0
xdotool keydown shift; sleep 0.2; xdotool keydown b; sleep 0.2; xdotool keyup b; sleep 0.2; xdotool keyup shift
sleep 0.6
xdotool mousedown 3; sleep 0.3; xdotool mouseup 3  # right button
sleep 0.5
xdotool click 5                                    # one wheel step toward the user
sleep 0.5
xdotool mousedown 2; sleep 0.2; xdotool mouseup 2  # middle button
sleep 0.3
shot macro-recording
click $((ex + 475 + 52)) $((ey + 134 + 15))
sleep 0.5
shot macro-recorded
xdotool mousemove $((ex + 300)) $((ey + 20))

# 5. OK saves; the file holds what was recorded, with halved pauses as delays.
click $((ex + 300 + 45)) $((ey + 452 + 15))
wait_gone 600x500 10 || fail "OK did not close the editor"
bytes=$(hex "$docs/Halvard/Combo.Mac")
echo "recorded: $bytes"
python3 - "$docs/Halvard/Combo.Mac" <<'EOF' || fail "the recorded macro is not what was done"
import sys
b = open(sys.argv[1], 'rb').read()
assert b[:3] == bytes([0x6d, 0xa5, 0xa1]), b[:3]
n = b[3] | b[4] << 8
data = b[9:9 + n]
assert len(data) == n
rows, i = [], 0
while i < n:
    op = data[i]; i += 1
    units = 0
    while i + 1 < n + 1 and i < n and data[i] == 0x01:
        units += data[i + 1]; i += 2
    rows.append((op, units))
ops = [op for op, _ in rows]
want = [0x04, 0x84, 0x71, 0x05, 0x85, 0xF1, 0x79, 0xF9, 0x7E, 0x7A, 0xFA]
assert ops == want, ["%02X" % o for o in ops]
# Pause after each row in ms (half of the real pause, 25 ms units), and what the script waited.
expected = [400, 1000, 200, 200, 200, 600, 300, 500, 500, 200, 0]
for (op, units), wait in zip(rows, expected):
    got = units * 25 * 2
    assert abs(got - wait) <= 250, ("%02X" % op, got, wait)
print("rows:", " ".join("%02X+%d" % r for r in rows))
EOF

# 6. Back on the main page: button 4 gets the macro (repeat once), APPLY.
wait_painted $((px + 40)) $((py + 400)) || fail "the main page was not painted again"
click $((px + 261 + 15)) $((py + 312 + 9))
sleep 0.5
click $((px + 546 + 83)) $((py + 282 + 20))
choice=$(wait_window 420x340 10) || fail "no macro prompt"
read -r cx cy <<<"$choice"
sleep 0.5
click $((cx + 31 + 150)) $((cy + 89 + 10))
sleep 0.5
shot macro-choose
xdotool key Home Return
sleep 0.3
click $((cx + 30 + 9)) $((cy + 162 + 9))
sleep 0.3
shot macro-choice
click $((cx + 210 - 110 + 45)) $((cy + 340 - 48 + 15))
wait_gone 420x340 10 || fail "the macro prompt stayed"
sleep 1
click $((px + 548 + 55)) $((py + 704 + 18))
sleep 2
shot macro-assigned
len=$(( $(stat -c %s "$docs/Halvard/Combo.Mac") - 9 ))
head=$("$simmouse" dump "$image" 780 4 2>/dev/null)
slot=$("$simmouse" dump "$image" 1792 "$len" 2>/dev/null)
echo "header: $head"
echo "slot: $slot"
python3 - "$docs/Halvard/Combo.Mac" "$head" "$slot" <<'EOF' || fail "the mouse does not hold the macro"
import sys, re
b = open(sys.argv[1], 'rb').read()
data = b[9:]
nums = lambda s: [int(x, 16) for x in re.findall(r'\b[0-9a-fA-F]{2}\b', s)]
head, slot = nums(sys.argv[2])[-4:], nums(sys.argv[3])
assert head == [len(data) & 0xFF, 2, 0, 5 | ((len(data) >> 8) << 4)], head
assert slot[-len(data):] == list(data), (slot, list(data))
EOF
# 7. Pictures of the editor opened again, with the recorded macro (the current one of the earlier
# opening) in its list, of its drop list, and of the full macro chosen there.
wait_painted $((px + 40)) $((py + 400)) || fail "the main page was not painted after APPLY"
click $((px + 546 + 83)) $((py + 566 + 43))
editor=$(wait_window 600x500 10) || fail "the page button did not open the editor again"
read -r ex ey <<<"$editor"
sleep 1
shot macro-reopened
click $((ex + 95 + 100)) $((ey + 58 + 14))
sleep 0.5
shot macro-droplist
# "Dense", the 256-byte macro, chosen by a click: timed until the program is idle again.
click $((ex + 95 + 40)) $((ey + 86 + 16))
took=$(wait_idle 30) || fail "the editor was still busy 30 s after the full macro was chosen"
echo "figure: a 256-byte macro chosen in the drop list, shown after $took ms"
shot macro-full
click $((ex + 395 + 45)) $((ey + 452 + 15))
wait_gone 600x500 30 || fail "CANCEL did not close the editor"
cleanup
echo "macro editor scenario: 7 steps passed"
