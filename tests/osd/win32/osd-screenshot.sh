#!/bin/bash
# A root-window screenshot of the OSD as it shows: the latency program keeps an X-Y DPI view up
# while ImageMagick grabs the screen.
#   osd-screenshot.sh BUILD_TESTS_DIR SHOTS_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=${1:?usage: osd-screenshot.sh BUILD_TESTS_DIR SHOTS_DIR}
shots=${2:?usage: osd-screenshot.sh BUILD_TESTS_DIR SHOTS_DIR}
[ -n "${DISPLAY:-}" ] || { echo "osd-screenshot: no DISPLAY"; exit 1; }
mkdir -p "$shots"
# A compositor shows the OSD's translucency; without one it comes out opaque.
comp=
if command -v xcompmgr >/dev/null; then xcompmgr >/dev/null 2>&1 & comp=$!; sleep 0.5; fi
"$root/tools/wine-run" "$build/osd_latency.exe" 6000 &
pid=$!
sleep 5
import -window root "$shots/osd-root.png"
rc=$?
wait $pid || rc=1
[ -n "$comp" ] && kill "$comp" 2>/dev/null
# The OSD is centred near the bottom: its own crop, enlarged, to look at.
convert "$shots/osd-root.png" -gravity south -crop 420x180+0+0 +repage -scale 200% "$shots/osd-root-crop.png" || rc=1
exit $rc
