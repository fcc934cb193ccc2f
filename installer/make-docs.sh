#!/bin/bash
# Writes the documents the programs look up beside the installation: the help documents
# HELP/Information_<suffix>.html (English, and German for the German language file) and the two
# category videos MEDIA/M_mouse_Air_through.MP4 and MEDIA/M_mouse_3D_steering.MP4, short captioned
# clips drawn with ImageMagick and encoded with ffmpeg.
#   make-docs.sh OUT_DIR VERSION
set -eu
out=${1:?output folder}
version=${2:?version}
here=$(cd "$(dirname "$0")" && pwd)
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
mkdir -p "$out/HELP" "$out/MEDIA"

sed "s/@VERSION@/$version/g" "$here/help/Information_en.html" >"$out/HELP/Information_en.html"
sed "s/@VERSION@/$version/g" "$here/help/Information_de.html" >"$out/HELP/Information_de.html"

# A clip of two cards of three seconds each, in the skin's colours.
video() {  # FILE TITLE LINE...
  local file=$1 title=$2 tmp
  shift 2
  tmp=$(mktemp -d)
  convert -size 640x360 xc:'rgb(30,30,30)' -fill 'rgb(150,15,15)' -draw 'rectangle 0,0 639,8' \
    -font "$bold" -pointsize 40 -fill 'rgb(250,250,250)' -gravity center -annotate +0-30 "$title" \
    -font "$font" -pointsize 18 -fill 'rgb(163,163,163)' -annotate +0+30 "Halvard $version" \
    "$tmp/1.png"
  local text
  text=$(printf '%s\n' "$@")
  convert -size 640x360 xc:'rgb(30,30,30)' -fill 'rgb(150,15,15)' -draw 'rectangle 0,0 639,8' \
    -font "$bold" -pointsize 22 -fill 'rgb(250,250,250)' -gravity northwest -annotate +32+32 "$title" \
    -font "$font" -pointsize 17 -fill 'rgb(240,240,240)' -interline-spacing 6 -annotate +32+84 "$text" \
    "$tmp/2.png"
  ffmpeg -v error -y -loop 1 -t 3 -i "$tmp/1.png" -loop 1 -t 3 -i "$tmp/2.png" \
    -filter_complex '[0:v][1:v]concat=n=2:v=1[v]' -map '[v]' -r 10 -c:v libx264 -pix_fmt yuv420p \
    -movflags +faststart "$tmp/clip.mp4"
  mv "$tmp/clip.mp4" "$file"
  rm -rf "$tmp"
}

video "$out/MEDIA/M_mouse_Air_through.MP4" "Air Through" \
  "This category button of the main window shows this clip;" \
  "it changes nothing on the mouse." \
  "" \
  "To give a button a function: pick the button on the picture" \
  "of the mouse, then choose Macro, Single Key, Default or" \
  "Application Launcher beside it, and press APPLY."
video "$out/MEDIA/M_mouse_3D_steering.MP4" "3D Axis movement" \
  "This category button of the main window shows this clip;" \
  "it changes nothing on the mouse." \
  "" \
  "Sensitivity (DPI) levels, separate X and Y sensitivity and" \
  "the polling rate of a profile are set on the Advanced page." \
  "Changes made on the mouse itself show in the on-screen display."
