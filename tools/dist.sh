#!/bin/bash
# Packages the four programs of a MinGW build as the per-user setup program and a portable zip:
#   dist.sh BUILD_DIR OUT_DIR
# writes OUT_DIR/Halvard-<version>-setup.exe and OUT_DIR/Halvard-<version>-portable.zip, with the
# version of the build's project() (the one its version resources carry). The programs are
# stripped of their debugging symbols; the documents come from installer/make-docs.sh.
set -eu
build=$(cd "${1:?build folder}" && pwd)
mkdir -p "${2:?output folder}"
out=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "dist: no project version in $build/CMakeCache.txt" >&2; exit 1; }
for f in Halvard.exe HalvardMonitor.exe HalvardOsd.dll HalvardHook.dll Languages/English.txt art/800.ico; do
  [ -f "$build/$f" ] || { echo "dist: $build/$f is missing; build it first" >&2; exit 1; }
done

name="Halvard-$version"
stage="$out/stage/$name"
rm -rf "$out/stage" && mkdir -p "$stage/Languages"
for f in Halvard.exe HalvardMonitor.exe HalvardOsd.dll HalvardHook.dll; do
  x86_64-w64-mingw32-strip -o "$stage/$f" "$build/$f"
done
cp "$build"/Languages/*.txt "$stage/Languages/"
"$root/installer/make-docs.sh" "$stage" "$version"

setup="$out/$name-setup.exe"
rm -f "$setup"
makensis -V2 -NOCD -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" -DICON="$build/art/800.ico" \
  "$root/installer/halvard.nsi"

# The portable folder: the same files, with a note on what an installation adds.
cat >"$stage/Portable.txt" <<TEXT
Halvard $version, portable

Unpack this folder anywhere and start HalvardMonitor.exe (the background monitor with the tray
icon; it brings up Halvard.exe) or Halvard.exe alone. The programs find their libraries,
Languages, HELP and MEDIA in this folder. Nothing is registered: there is no Start-menu entry,
the monitor does not start at log-on, and the tray menu follows the system's language.
Profile and macro files are kept in Documents\\Halvard; settings in the registry key
HKEY_CURRENT_USER\\Software\\Halvard. Deleting this folder removes the programs and leaves both.
TEXT
sed -i 's/$/\r/' "$stage/Portable.txt"
zip_file="$out/$name-portable.zip"
rm -f "$zip_file"
(cd "$out/stage" && zip -q -r -X "$zip_file" "$name")
rm -rf "$out/stage"
echo "dist: $setup ($(stat -c %s "$setup") bytes)"
echo "dist: $zip_file ($(stat -c %s "$zip_file") bytes)"
