#!/bin/bash
# The setup program under Wine, in a Wine prefix of its own: packaged from a build with
# tools/dist.sh, installed silently for the current user in German, checked file by file and value
# by value; the installed monitor and main program run in simulation mode from another folder and
# find the German language file, the help document and the category video of the installation;
# then the silent uninstaller, run while both programs are still open, ends them and removes
# everything it installed, and the user's profile and macro files and settings stay.
# Pictures: out/screenshots/install-*.png.
#   install.sh BUILD_DIR SIMMOUSE
set -u
build=$(cd "${1:?build folder}" && pwd)
simmouse=${2:?simmouse}
root=$(cd "$(dirname "$0")/../.." && pwd)
work="$root/out/scenarios/install"
shots="$root/out/screenshots"
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all
# No menu entries or icons for the desktop outside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEPREFIX="$work/prefix"
rm -rf "$work" && mkdir -p "$work" "$shots"
ms() { date +%s%3N; }
t_start=$(ms)
winpath() { echo "Z:${1//\//\\}"; }
shot() { import -window root "$shots/$1.png" 2>/dev/null; }
monitor=
cleanup() {
  [ -n "$monitor" ] && kill "$monitor" 2>/dev/null
  [ -d "$WINEPREFIX" ] && /usr/lib/wine/wineserver -k 2>/dev/null
  sleep 0.3
}
fail() { echo "FAIL: $*"; shot install-failure; cleanup; exit 1; }
step() { echo "install: $*"; }
reg_value() {  # KEY NAME: the data column of one value, or nothing
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
expect_value() {  # KEY NAME DATA
  local got
  got=$(reg_value "$1" "$2")
  [ "$got" = "$3" ] || fail "$1 \"$2\" is \"$got\", not \"$3\""
}
expect_no_value() {  # KEY NAME
  "$wine" reg query "$1" /v "$2" >/dev/null 2>&1 && fail "$1 \"$2\" is still there"
  return 0
}
find_window() {  # EXE SIZE: a viewable window of the program of exactly this size; prints "x y"
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
    sleep 0.2
  done
  return 1
}
# Clicks x, y until the shell has been asked to open a file whose path ends in SUFFIX.
open_by_click() {  # X Y SUFFIX SECONDS
  local until=$(($(date +%s) + $4))
  while [ "$(date +%s)" -le "$until" ]; do
    xdotool mousemove "$1" "$2" sleep 0.2 click 1
    for _ in $(seq 20); do
      grep -qiF -- "$3\"" "$opened" 2>/dev/null && return 0
      sleep 0.1
    done
  done
  return 1
}

# 1. Package the build: the setup program and the portable zip.
t=$(ms)
"$root/tools/dist.sh" "$build" "$work/dist" >"$work/dist.log" 2>&1 || { cat "$work/dist.log"; fail "dist.sh failed"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup="$work/dist/Halvard-$version-setup.exe"
zip="$work/dist/Halvard-$version-portable.zip"
[ -f "$setup" ] && [ -f "$zip" ] || fail "no setup program or zip for version $version"
echo "figure: packaging $(($(ms) - t)) ms; setup $(stat -c %s "$setup") bytes, zip $(stat -c %s "$zip") bytes"
documents="HELP/Information_en.html HELP/Information_de.html MEDIA/M_mouse_Air_through.MP4 MEDIA/M_mouse_3D_steering.MP4"
files="Halvard.exe HalvardMonitor.exe HalvardOsd.dll HalvardHook.dll Languages/English.txt Languages/German.txt $documents"
listed=$(zip -sf "$zip" | sed 's/^ *//')
for f in $files Portable.txt; do
  grep -qx "Halvard-$version/$f" <<<"$listed" || fail "the zip lacks $f"
done
step "packaged $version"

# 2. A Wine prefix of its own, whose Documents is a folder of the prefix (not a link to $HOME).
t=$(ms)
"$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
/usr/lib/wine/wineserver -w
# One Windows process kept alive, so each Wine start after it is quick.
[ -f "$build/tools/wine_keepalive.exe" ] && { "$wine" "$build/tools/wine_keepalive.exe" 600 >/dev/null 2>&1 & }
user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
for d in "$user_dir"/*; do
  [ -L "$d" ] && rm "$d" && mkdir "$d"
done
data="$user_dir/Documents/Halvard"
install_dir="$user_dir/AppData/Local/Programs/Halvard"
install_win='C:\users\'"$(id -un)"'\AppData\Local\Programs\Halvard'
start_menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Halvard"
echo "figure: fresh prefix $(($(ms) - t)) ms"

# 3. A language the setup does not carry is refused, and nothing is installed.
"$wine" "$setup" /S /LANG=Klingon >/dev/null 2>&1
rc=$?
[ "$rc" = 2 ] || fail "an unknown /LANG gave exit code $rc"
[ -e "$install_dir" ] && fail "an unknown /LANG installed something"

# 4. Silent install, tray menu in German.
t=$(ms)
"$wine" "$setup" /S /LANG=German >/dev/null 2>&1 || fail "the silent install failed ($?)"
echo "figure: silent install $(($(ms) - t)) ms"
for f in $files uninstall.exe; do
  [ -s "$install_dir/$f" ] || fail "$f was not installed"
done
for f in Halvard.exe HalvardMonitor.exe HalvardOsd.dll HalvardHook.dll; do
  x86_64-w64-mingw32-windres -i "$install_dir/$f" -O rc 2>/dev/null | grep -q "VALUE \"FileVersion\", \"$version\"" ||
    fail "$f carries no version resource of $version"
done
for f in Halvard.exe HalvardMonitor.exe; do
  x86_64-w64-mingw32-windres -i "$install_dir/$f" -O rc 2>/dev/null | grep -q '^800 14 ' || fail "$f carries no icon 800"
done
for f in "Halvard.lnk" "Halvard Monitor.lnk" "Halvard deinstallieren.lnk"; do
  [ -f "$start_menu/$f" ] || fail "no Start-menu shortcut $f"
done
key='HKCU\Software\Halvard'
expect_value "$key" "Path" "$install_win"
expect_value "$key" "Locate APP" "$install_win\\Halvard.exe"
expect_value "$key" "Language" "0x407"
expect_value "$key" "Disable System Tray" "0x0"
expect_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' "Halvard Monitor" \
  "\"$install_win\\HalvardMonitor.exe\" /Automation"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Halvard'
expect_value "$uninstall_key" "DisplayName" "Halvard"
expect_value "$uninstall_key" "DisplayVersion" "$version"
expect_value "$uninstall_key" "UninstallString" "\"$install_win\\uninstall.exe\""
expect_value "$uninstall_key" "QuietUninstallString" "\"$install_win\\uninstall.exe\" /S"
step "installed: $(echo $files | wc -w) files, shortcuts and values checked"

# 5. The installed monitor, started from another folder on a German system, brings up the
#    installed main program, which shows its German title from the installed language file.
#    The shell's "open" of documents is caught in a file, so what the programs open shows there.
opened="$work/opened.txt"
for ext in .html .mp4; do
  "$wine" reg add "HKCR\\$ext" /ve /d HalvardScenario.document /f >/dev/null 2>&1
done
"$wine" reg add 'HKCR\HalvardScenario.document\shell\open\command' /ve \
  /d "C:\\windows\\system32\\cmd.exe /c echo \"%1\">>$(winpath "$opened")" /f >/dev/null 2>&1 ||
  fail "cannot catch the shell's open"
image="$work/mouse.img"
"$simmouse" create "$image" >/dev/null || fail "cannot make the mouse image"
mkdir -p "$work/elsewhere"
t=$(ms)
(cd "$work/elsewhere" && exec env LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 HALVARD_SIMULATE="$(winpath "$image")" \
  "$wine" "$install_dir/HalvardMonitor.exe" >/dev/null 2>&1) &
monitor=$!
page=$(wait_window halvard.exe 930x768 90) || fail "the installed monitor did not bring up the main program"
read -r px py <<<"$page"
echo "figure: monitor start to the main window $(($(ms) - t)) ms"
ps -eo args | grep -qF "$install_win\\Halvard.exe" || fail "the main program running is not the installed one"
osd=$(reg_value "$key" "OSD Handle")
[ -n "$osd" ] && [ "$osd" != 0x0 ] && [ "$osd" != 0xffffffff ] ||
  fail "the installed monitor has no on-screen display (\"OSD Handle\" is \"$osd\"): HalvardOsd.dll not loaded"
xwininfo -root -tree | grep -i '"halvard.exe"' | grep -q '"Vornex Halvard Gaming-Maus"' ||
  fail "the main window's title is not the German one: the installed German.txt was not found"

# 6. The help button opens the installed German help document; "Air Through" the installed video.
# The centre of a control of the main window, by its number in the layout its pictures follow.
centre() { awk -v id="$1" -v x="$px" -v y="$py" '$1 == id {print x + $2 + int($4 / 2), y + $3 + int($5 / 2)}' \
  "$root/resources/art/main-layout.txt"; }
read -r hx hy <<<"$(centre 1008)"
read -r vx vy <<<"$(centre 1788)"
[ -n "$hx" ] && [ -n "$vx" ] || fail "no help or video button in the layout"
open_by_click "$hx" "$hy" 'HELP\Information_de.html' 90 ||
  fail "the help button did not open the installed help document ($(cat "$opened" 2>/dev/null))"
grep -qiF "\"$install_win\\HELP\\Information_de.html\"" "$opened" || fail "the help document opened is $(cat "$opened")"
sleep 0.5
shot install-main-ready
open_by_click "$vx" "$vy" 'MEDIA\M_mouse_Air_through.MP4' 20 ||
  fail "Air Through did not open the installed video ($(cat "$opened"))"
grep -qiF "\"$install_win\\MEDIA\\M_mouse_Air_through.MP4\"" "$opened" || fail "the video opened is $(cat "$opened")"
xwininfo -root -tree | grep -i '"halvard.exe"' | grep -q 'MELDUNG' && fail "the main program showed a message"
step "the installed programs found German.txt, the help document and the video"

# 7. The tray menu, for the picture (its texts come from the installed German.txt).
tray=$(xwininfo -root -tree 2>/dev/null | grep '"Wine System Tray"' |
  sed -n 's/.* [0-9]*x[0-9]*+\([0-9]*\)+\([0-9]*\) .*/\1 \2/p' | head -1)
[ -n "$tray" ] || fail "no tray icon"
read -r tx ty <<<"$tray"
xdotool mousemove $((tx + 10)) $((ty + 10)) sleep 0.3 click 3 sleep 1
shot install-tray-menu
xdotool key Escape

# 8. The user's files in the data folder, which the main program made at its start.
[ -d "$data" ] || fail "the main program did not make the data folder"
head -c 20099 /dev/urandom >"$data/Mine.PF"
printf '\x6d\xa5\xa1\x00\x00\x00\x01\x00\x00' >"$data/Combo.Mac"
sums=$(cd "$data" && md5sum Mine.PF Combo.Mac)
"$wine" reg add "$key" /v "PF0T1 Macro Name" /t REG_SZ /d Combo /f >/dev/null 2>&1

# 9. Silent uninstall while both programs run: it ends them and removes what it installed.
t=$(ms)
"$wine" "$install_dir/uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller failed ($?)"
for _ in $(seq 300); do [ -e "$install_dir" ] || break; sleep 0.1; done
[ -e "$install_dir" ] && fail "the installation folder is still there: $(cd "$install_dir" && find . | tr '\n' ' ')"
echo "figure: silent uninstall $(($(ms) - t)) ms"
for _ in $(seq 50); do kill -0 "$monitor" 2>/dev/null || break; sleep 0.1; done
kill -0 "$monitor" 2>/dev/null && fail "the monitor still runs after the uninstall"
monitor=
[ -n "$(find_window halvard.exe 930x768)" ] && fail "the main window is still open after the uninstall"
# The monitor ended through its Exit command: unloading the display library cleared its handle.
expect_value "$key" "OSD Handle" "0x0"
[ -e "$start_menu" ] && fail "the Start-menu folder is still there"
expect_no_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' "Halvard Monitor"
"$wine" reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstall entry is still there"
for v in "Path" "Locate APP" "Language" "Disable System Tray"; do expect_no_value "$key" "$v"; done
expect_value "$key" "PF0T1 Macro Name" "Combo"
[ "$(cd "$data" && md5sum Mine.PF Combo.Mac)" = "$sums" ] || fail "the user's files changed"
[ "$(ls "$data" | sort | tr '\n' ' ')" = "Combo.Mac Mine.PF " ] || fail "the data folder holds $(ls "$data")"
step "uninstalled: programs, shortcuts, Run entry and installation values gone; the user's files stay"

cleanup
# The prefix is some 700 MB; it stays only after a failure, to be looked at.
/usr/lib/wine/wineserver -w 2>/dev/null
rm -rf "$WINEPREFIX"
echo "figure: scenario $(($(ms) - t_start)) ms"
echo "install scenario: 9 steps passed"
