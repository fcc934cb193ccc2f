#!/bin/bash
# Runs the mingw preset's tests under Wine the way they run fast and reliably here: one prefix,
# a keep-alive Windows process for the whole run, and an X server for anything with a window.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build="$root/out/build/mingw"
export WINEPREFIX="${HALVARD_WINEPREFIX:-$root/out/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

"$here/wine-prefix.sh" || exit 1

xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 91 120); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi

/usr/lib/wine/wine64 "$build/tools/wine_keepalive.exe" 3600 >/dev/null 2>&1 &
keep_pid=$!
cleanup() {
  kill "$keep_pid" 2>/dev/null
  /usr/lib/wine/wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
sleep 1

cd "$root" && ctest --preset mingw "$@"
rc=$?

# The scenario pictures, as PNG files to look at.
for f in "$root"/out/screenshots/*.bmp; do
  [ -e "$f" ] || continue
  convert "$f" "${f%.bmp}.png" && rm -f "$f"
done
exit $rc
