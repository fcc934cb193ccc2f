#!/bin/sh
# Makes the project's Wine prefix once: crash dialog off, so a crashing test exits instead of
# waiting in the debugger. Safe to call from parallel tests (one maker at a time).
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${HALVARD_WINEPREFIX:-$here/../out/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -f "$WINEPREFIX/.halvard-ready" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.halvard-ready" ] && exit 0
echo "wine-prefix: creating $WINEPREFIX" >&2
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || { echo "wine-prefix: wineboot failed" >&2; exit 1; }
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 ||
  { echo "wine-prefix: cannot turn the crash dialog off" >&2; exit 1; }
/usr/lib/wine/wineserver -w
# Wine links the user's folders to $HOME; the suite's profile and macro files must stay inside
# the prefix, so parallel prefixes and the machine's own files never meet.
for d in "$WINEPREFIX"/drive_c/users/*/*; do
  [ -L "$d" ] && rm -f "$d" && mkdir -p "$d"
done
touch "$WINEPREFIX/.halvard-ready"
