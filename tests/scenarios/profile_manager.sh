#!/bin/bash
# The profile manager in the real Halvard.exe on a simulated mouse, driven by real input: the
# page opens from the full page by a click; NEW makes a profile file after the read-back from the
# mouse; Copy, Rename (typed in place), Export and Import (through the system's file dialogs),
# Delete; Set Active puts an imported file's profile into the mouse's memory. Pictures go to
# out/screenshots/pm-*.png.
#   profile_manager.sh BUILD_DIR SIMMOUSE
set -u
build=${1:?build folder}
simmouse=${2:?simmouse}
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$root/out/scenarios/profile-manager"
shots="$root/out/screenshots"
prefix="${HALVARD_WINEPREFIX:-$root/out/wineprefix}"
rm -rf "$work" && mkdir -p "$work/export" "$work/import" "$work/kept" "$shots"
image="$work/mouse.img"
name=pm
. "$root/tests/scenarios/lib.sh"
data=
# The profile files that were there before come back.
after_cleanup() {
  if [ -n "$data" ]; then
    rm -f "$data"/*.[Pp][Ff]
    mv "$work/kept/"* "$data/" 2>/dev/null
  fi
}
# Rows of the page's list: the list at 30,78 of the page, its 18-pixel header, then the rows.
row_y() { echo $((py + 78 + 18 + row_h * $1 + row_h / 2)); }
row_x=
menu() {  # ROW ITEM(0 Rename, 1 Copy, 2 Set Active): right-click the row, pick the item
  click $((px + 200)) "$(row_y "$1")" 3
  sleep 0.5
  shot "pm-menu-$2"
  xdotool mousemove_relative -- 40 $((13 + 26 * $2)) sleep 0.3 click 1
}

data=$(ls -d "$prefix"/drive_c/users/*/Documents 2>/dev/null | grep -v /Public/ | head -1)/Halvard
mkdir -p "$data"
mv "$data"/*.[Pp][Ff] "$work/kept/" 2>/dev/null

"$simmouse" create "$image" >/dev/null || fail "cannot make the mouse image"
# Profile I (active) gets a macro on button 1 (3 bytes), so the read-back before NEW reads it.
"$simmouse" poke "$image" 768 3 >/dev/null
"$simmouse" poke "$image" 771 0x01 >/dev/null
for i in 0 1 2; do "$simmouse" poke "$image" $((1024 + i)) $((0x11 + i)) >/dev/null; done

HALVARD_SIMULATE=$(winpath "$image") "$wine" "$build/Halvard.exe" >"$work/halvard.log" 2>&1 &
pid=$!
page=$(wait_window 930x768 60) || fail "the ready page did not come"
read -r mx my <<<"$page"
sleep 1

# 1. The Profile Management button of the full page opens the page.
click $((mx + 722 + 83)) $((my + 566 + 43))
pos=$(wait_window 590x440 10) || fail "the profile manager did not open"
read -r px py <<<"$pos"
sleep 0.5
shot pm-open

# 2. NEW: the name prompt, the read-back from the mouse, the file.
click $((px + 30 + 55)) $((py + 344 + 16))
prompt=$(wait_window 420x230 10) || fail "no name prompt"
read -r qx qy <<<"$prompt"
sleep 0.3
xdotool type --delay 60 "Sniper"
shot pm-new-name
click $((qx + 100 + 45)) $((qy + 182 + 15))
wait_file "$data/Sniper.PF" 20 || fail "NEW made no file"
size=$(stat -c %s "$data/Sniper.PF")
[ "$size" = 20099 ] || fail "the new file has $size bytes"
# The macro bytes read back from the mouse are in the file (slot of button 1 at 121).
[ "$(od -An -tx1 -j121 -N3 "$data/Sniper.PF" | tr -d ' ')" = 111213 ] || fail "the new file lacks the mouse's macro"
sleep 0.5
shot pm-new
# The row height, from the selected (red) first row.
row_h=$(convert "$shots/pm-new.png" -crop "1x80+$((px + 200))+$((py + 96))" -depth 8 txt:- |
  sed -n 's/.*#\([0-9A-F]\{2\}\)\([0-9A-F]\{2\}\).*/\1 \2/p' | while read -r r g; do
    [ $((16#$r)) -ge 120 ] && [ $((16#$g)) -le 40 ] && echo red; done | wc -l)
[ "$row_h" -ge 12 ] && [ "$row_h" -le 40 ] || fail "the new row is not shown selected (row height $row_h)"
echo "row height $row_h"

# 2b. A name that leads out of the folder is refused with a message; nothing is made.
click $((px + 30 + 55)) $((py + 344 + 16))
prompt=$(wait_window 420x230 10) || fail "no name prompt"
read -r qx qy <<<"$prompt"
sleep 0.3
xdotool type --delay 60 "../Evil"
click $((qx + 100 + 45)) $((qy + 182 + 15))
wait_gone 420x230 10 || fail "the name prompt stayed"
# The message is longer than the prompt's line: the system message box shows it.
message=$(wait_titled "Vornex Halvard MESSAGE" 10) || fail "no message for a name outside the folder"
read -r qx qy <<<"$message"
sleep 0.5
shot pm-bad-name
xdotool mousemove $((qx + 20)) $((qy + 10)) click 1 sleep 0.2 key Return
for _ in $(seq 50); do xwininfo -root -tree | grep -q '"Vornex Halvard MESSAGE"' || break; sleep 0.1; done
[ "$(ls "$data" | grep -ci evil)" = 0 ] && [ ! -e "$data/../Evil.PF" ] || fail "a refused name made a file"

# 3. Copy through the menu: Sniper_COPY.
menu 0 1
wait_file "$data/Sniper_COPY.PF" 10 || fail "Copy made no Sniper_COPY"
cmp -s "$data/Sniper.PF" "$data/Sniper_COPY.PF" || fail "the copy differs"
sleep 0.3
shot pm-copy

# 4. Rename in place: the copy's row becomes Rally by typing.
menu 1 0
sleep 0.3
xdotool type --delay 60 "Rally"
shot pm-rename-typing
xdotool key Return
wait_file "$data/Rally.PF" 10 || fail "Rename made no Rally.PF"
wait_file "!$data/Sniper_COPY.PF" 5 || fail "the renamed file is still there"
sleep 0.3
shot pm-rename

# 5. Export the first row through the save dialog.
click $((px + 200)) "$(row_y 0)"
click $((px + 306 + 55)) $((py + 344 + 16))
wait_titled "Save As" 15 >/dev/null || fail "no save dialog"
sleep 1
shot pm-export-dialog
xdotool key ctrl+a
xdotool type --delay 20 "$(winpath "$work/export/Sniper.PF")"
xdotool key Return
wait_file "$work/export/Sniper.PF" 10 || fail "Export wrote nothing"
cmp -s "$data/Sniper.PF" "$work/export/Sniper.PF" || fail "the exported file differs"

# 6. Import a file with another profile: settings cells 20-23 and the first DPI cells changed.
cp "$work/export/Sniper.PF" "$work/import/Arena.pf"
printf '\x11\x22\x33\x44' | dd of="$work/import/Arena.pf" bs=1 seek=$((6 + 20)) conv=notrunc 2>/dev/null
sleep 0.5
click $((px + 168 + 55)) $((py + 344 + 16))
wait_titled "Open" 15 >/dev/null || fail "no open dialog"
sleep 1
shot pm-import-dialog
xdotool type --delay 20 "$(winpath "$work/import/Arena.pf")"
xdotool key Return
wait_file "$data/Arena.pf" 10 || fail "Import copied nothing"
sleep 0.5
shot pm-import

# 7. Delete Rally (row 1) after the prompt.
click $((px + 200)) "$(row_y 1)"
click $((px + 444 + 55)) $((py + 344 + 16))
prompt=$(wait_window 420x230 10) || fail "no delete prompt"
read -r qx qy <<<"$prompt"
sleep 0.3
shot pm-delete-prompt
click $((qx + 100 + 45)) $((qy + 182 + 15))
wait_file "!$data/Rally.PF" 10 || fail "Delete left Rally.PF"
sleep 0.3
shot pm-delete

# 8. Set Active on Arena (now row 1): the mouse's profile I holds the file's settings and name.
menu 1 2
ok=
for _ in $(seq 100); do
  cells=$(for a in 20 21 22 23; do "$simmouse" peek "$image" $((256 + a)); done | tr '\n' ' ')
  [ "$cells" = "17 34 51 68 " ] && { ok=1; break; }
  sleep 0.2
done
[ -n "$ok" ] || fail "Set Active did not reach the mouse (cells 276-279: $cells)"
sleep 1
shot pm-active

# 9. CANCEL closes the page; the main window shows the profile's new name.
click $((px + 444 + 55)) $((py + 392 + 16))
wait_gone 590x440 10 || fail "CANCEL did not close the page"
sleep 1
shot pm-closed
"$wine" reg query 'HKCU\Software\Halvard' /v "Profile Manager Handle" 2>/dev/null | grep -qi 0xffffffff ||
  fail "\"Profile Manager Handle\" is not -1 after CANCEL"
cleanup
echo "profile manager scenario: 9 steps passed"
