#!/bin/bash
# Draws every picture of the skin into OUTDIR as 24-bit BMP files named by resource number, plus
# the window icon. One palette, one font family, crisp outer edges against the key colours.
#   make-art.sh OUTDIR
set -euo pipefail
out=${1:?usage: make-art.sh OUTDIR}
mkdir -p "$out"

GROUND='#1E1E1E'      # RGB(30,30,30)
PANEL='#2B2B2B'       # RGB(43,43,43)
LIST='#4B4B4B'        # RGB(75,75,75)
RED='#960F0F'         # RGB(150,15,15)
LIT='#DC1E1E'
HOT='#FF3C3C'
TEXT='#FAFAFA'        # RGB(250,250,250)
SOFT='#A3A3A3'        # RGB(163,163,163)
DIM='#7D7D7D'         # RGB(125,125,125)
KEY_OUTLINE='#004000' # RGB(0,64,0)
KEY_POPUP='#00FF00'   # RGB(0,255,0)
FONT=DejaVu-Sans
BOLD=DejaVu-Sans-Bold

bmp() { echo "BMP3:$out/$1.bmp"; }

# A prompt: rounded plate on the outline key, red rim, heading bar.
#   prompt ID W H HEADING
prompt_base() {
  local w=$2 h=$3 heading=$4
  convert -size "${w}x${h}" "xc:$KEY_OUTLINE" +antialias \
    -fill "$RED" -draw "roundrectangle 0,0 $((w-1)),$((h-1)) 18,18" \
    -fill "$GROUND" -draw "roundrectangle 3,3 $((w-4)),$((h-4)) 16,16" \
    -fill "$PANEL" -draw "rectangle 14,12 $((w-15)),44" \
    -fill "$LIT" -draw "rectangle 14,44 $((w-15)),46" \
    -antialias -font "$BOLD" -pointsize 18 -fill "$TEXT" -annotate +24+35 "$heading" \
    "$out/tmp_base.png"
}

# Text block inside a prompt: ID X Y W H SIZE TEXT
prompt_text() {
  local x=$1 y=$2 w=$3 h=$4 size=$5 text=$6
  convert "$out/tmp_base.png" \
    \( -size "${w}x${h}" -background none -fill "$TEXT" -font "$FONT" -pointsize "$size" caption:"$text" \) \
    -geometry "+$x+$y" -composite "$out/tmp_base.png"
}

label() {  # X Y SIZE COLOUR TEXT
  convert "$out/tmp_base.png" -font "$FONT" -pointsize "$3" -fill "$4" -annotate "+$1+$2" "$5" "$out/tmp_base.png"
}

field() {  # X Y W H: an input well
  convert "$out/tmp_base.png" +antialias -fill "$PANEL" -stroke "$LIST" -draw "rectangle $1,$2 $(($1+$3)),$(($2+$4))" \
    "$out/tmp_base.png"
}

finish() { convert "$out/tmp_base.png" -type TrueColor "$(bmp "$1")"; }

W=420; H=230
prompt_base 113 $W $H "Create New Profile"; label 34 100 16 "$TEXT" "Name"; field 100 82 280 26; finish 113
prompt_base 115 $W $H "WARNING"; prompt_text 30 64 360 80 16 "Are you sure you want to delete this profile."; finish 115
prompt_base 125 $W $H "Create New Macro"; label 34 100 16 "$TEXT" "Name"; field 100 82 280 26; finish 125
prompt_base 248 $W $H "WARNING"
prompt_text 30 64 360 90 16 'Press “OK” the device will be reset to original default, all setting will be lost.'; finish 248
prompt_base 251 $W $H "WARNING"; finish 251
prompt_base 287 $W $H "WARNING"; finish 287
prompt_base 353 $W $H "WARNING"; prompt_text 30 64 360 80 16 "Please save the setting by each individual game profile"; finish 353
prompt_base 447 $W $H "WARNING"
prompt_text 30 60 360 100 15 "When the mode is switched to battle detection, the illumination effects will change according to the clicking frequency"
finish 447
prompt_base 448 $W $H "WARNING"
prompt_text 30 64 360 90 16 'Please set one key as”LEFT BUTTON” at least, or you can’t save the profile.'; finish 448
prompt_base 469 $W $H "Single Key"; label 30 76 15 "$SOFT" "Select a command to Assign"; field 30 88 360 26; finish 469
prompt_base 470 $W 340 "KEY"
convert "$out/tmp_base.png" +antialias -fill "$LIT" -draw "polygon 80,20 92,28 80,36" -antialias \
  -font "$BOLD" -pointsize 13 -fill "$SOFT" -annotate +100+34 "HALVARD" "$out/tmp_base.png"
label 30 76 15 "$SOFT" "Select a Macro to Assign"; field 30 88 360 26
label 30 146 15 "$TEXT" "Repeat Option"
label 56 176 14 "$TEXT" "Once"; label 56 202 14 "$TEXT" "Multiple Times"
label 56 228 14 "$TEXT" "When Press & Hold"; label 56 254 14 "$TEXT" "Until Pressed Next Time"
finish 470
prompt_base 474 $W $H "Enter Repeat Count"; field 160 84 100 28; finish 474

# Button strips: four 90 x 30 frames side by side (normal, pressed, hover, disabled).
strip() {  # ID TEXT
  local frames=()
  local i fill rim ink
  for i in 0 1 2 3; do
    case $i in
      0) fill=$PANEL; rim=$RED; ink=$TEXT ;;
      1) fill=$RED; rim=$HOT; ink=$TEXT ;;
      2) fill=$LIT; rim=$HOT; ink=$TEXT ;;
      3) fill=$GROUND; rim=$LIST; ink=$DIM ;;
    esac
    convert -size 90x30 "xc:$GROUND" +antialias -fill "$rim" -draw "roundrectangle 0,0 89,29 6,6" \
      -fill "$fill" -draw "roundrectangle 2,2 87,27 5,5" -antialias -font "$BOLD" -pointsize 13 -fill "$ink" \
      -gravity center -annotate +0+0 "$2" "$out/tmp_f$i.png"
    frames+=("$out/tmp_f$i.png")
  done
  convert "${frames[@]}" +append -type TrueColor "$(bmp "$1")"
}
strip 1900 OK
strip 1901 CANCEL
strip 1902 YES
# Radio buttons: selected and not.
convert -size 18x18 "xc:$GROUND" +antialias -fill "$LIST" -draw "circle 9,9 9,1" -fill "$PANEL" -draw "circle 9,9 9,3" \
  -fill "$LIT" -draw "circle 9,9 9,5" -type TrueColor "$(bmp 1903)"
convert -size 18x18 "xc:$GROUND" +antialias -fill "$LIST" -draw "circle 9,9 9,1" -fill "$PANEL" -draw "circle 9,9 9,3" \
  -type TrueColor "$(bmp 1904)"

# Slider: channel on white (its transparent colour), thumb on the outline key.
convert -size 220x24 xc:white +antialias -fill "$PANEL" -draw "roundrectangle 4,8 215,15 3,3" \
  -fill "$RED" -draw "rectangle 6,10 213,13" -type TrueColor "$(bmp 1910)"
convert -size 220x24 xc:white +antialias -fill "$PANEL" -draw "roundrectangle 4,8 215,15 3,3" \
  -fill "$LIT" -draw "rectangle 6,10 213,13" -type TrueColor "$(bmp 1911)"
convert -size 20x24 "xc:$KEY_OUTLINE" +antialias -fill "$HOT" -draw "roundrectangle 2,1 17,22 4,4" \
  -fill "$TEXT" -draw "rectangle 8,6 11,17" -type TrueColor "$(bmp 1912)"

# Header of the skinned lists: left edge, middle tile, right edge with separator (18 high).
convert -size 4x18 gradient:"$LIST"-"$PANEL" +antialias -fill "$RED" -draw "line 0,0 0,17" -type TrueColor "$(bmp 275)"
convert -size 1x18 gradient:"$LIST"-"$PANEL" -type TrueColor "$(bmp 274)"
convert -size 4x18 gradient:"$LIST"-"$PANEL" +antialias -fill "$GROUND" -draw "line 3,0 3,17" -type TrueColor "$(bmp 276)"

# Scroll bar: the two arrows stacked (17 x 17 each), and the 17 x 25 thumb.
convert -size 17x34 "xc:$PANEL" +antialias -fill "$LIT" -draw "polygon 8,4 14,12 2,12" \
  -draw "polygon 2,21 14,21 8,29" -type TrueColor "$(bmp 282)"
convert -size 17x25 "xc:$PANEL" +antialias -fill "$RED" -draw "roundrectangle 2,1 14,23 4,4" \
  -fill "$LIT" -draw "line 5,10 11,10" -draw "line 5,12 11,12" -draw "line 5,14 11,14" -type TrueColor "$(bmp 283)"

# Key-status plates: four 194 x 53 frames; 439 empty with an arrow, 440-443 a category tile.
plate() {  # ID LETTER (empty: the arrow)
  local frames=() i rim ground
  for i in 0 1 2 3; do
    case $i in 0) rim=$RED; ground=$PANEL ;; 1) rim=$HOT; ground=$RED ;; 2) rim=$HOT; ground=$PANEL ;; 3) rim=$LIST; ground=$GROUND ;; esac
    local f="$out/tmp_p$i.png"
    convert -size 194x53 "xc:$GROUND" +antialias -fill "$rim" -draw "roundrectangle 0,0 193,52 8,8" \
      -fill "$ground" -draw "roundrectangle 2,2 191,50 7,7" "$f"
    if [ -z "$2" ]; then
      convert "$f" +antialias -fill "$SOFT" -draw "polygon 24,18 36,26 24,34" "$f"
    else
      convert "$f" +antialias -fill "$LIT" -draw "roundrectangle 10,9 62,43 5,5" -antialias -font "$BOLD" \
        -pointsize 26 -fill "$TEXT" -annotate +24+37 "$2" "$f"
    fi
    frames+=("$f")
  done
  convert "${frames[@]}" +append -type TrueColor "$(bmp "$1")"
}
plate 439 ""
plate 440 M
plate 441 S
plate 442 D
plate 443 A

# Progress frames 405-420: "Loading" and an arc that fills, on the popup key.
for i in $(seq 0 15); do
  id=$((405 + i))
  end=$(( -90 + (i + 1) * 360 / 16 ))
  convert -size 146x81 "xc:$KEY_POPUP" +antialias -fill "$RED" -draw "roundrectangle 0,0 145,80 14,14" \
    -fill "$GROUND" -draw "roundrectangle 2,2 143,78 12,12" \
    -fill none -stroke "$LIST" -strokewidth 5 -draw "arc 14,18 58,62 0,360" \
    -stroke "$LIT" -draw "arc 14,18 58,62 -90,$end" -stroke none \
    -antialias -font "$BOLD" -pointsize 17 -fill "$TEXT" -annotate +66+46 "Loading" \
    -type TrueColor "$(bmp $id)"
done

# The eleven button hot spots: unlit (640-650), lit (651-661), and their masks (662-672).
shapes=("roundrectangle 0,0 43,69 16,16" "roundrectangle 0,0 43,69 16,16" "roundrectangle 0,0 15,29 7,7"
        "roundrectangle 0,0 29,17 6,6" "roundrectangle 0,0 29,17 6,6" "ellipse 11,11 11,11 0,360"
        "ellipse 11,11 11,11 0,360" "roundrectangle 0,0 21,13 5,5" "roundrectangle 0,0 21,13 5,5"
        "roundrectangle 0,0 21,13 5,5" "roundrectangle 0,0 21,13 5,5")
sizes=("44x70" "44x70" "16x30" "30x18" "30x18" "23x23" "23x23" "22x14" "22x14" "22x14" "22x14")
for i in $(seq 0 10); do
  convert -size "${sizes[$i]}" xc:white +antialias -fill black -draw "${shapes[$i]}" -type TrueColor "$(bmp $((662 + i)))"
  convert -size "${sizes[$i]}" "xc:$GROUND" +antialias -fill "$LIST" -draw "${shapes[$i]}" -type TrueColor "$(bmp $((640 + i)))"
  convert -size "${sizes[$i]}" "xc:$GROUND" +antialias -fill "$LIT" -draw "${shapes[$i]}" -type TrueColor "$(bmp $((651 + i)))"
done

# ---- On-screen display (the display library's own pictures) ----
# Red plates and shapes on the OSD key; the key pixels become holes in the window, so the outer
# edges are drawn without anti-aliasing. Texts sit on red, where smoothing leaves no fringe.
KEY_OSD='#404040'     # RGB(64,64,64)

osd_plate() {  # FILE W H RADIUS: a red plate with a lit rim
  local w=$2 h=$3 r=$4
  convert -size "${w}x${h}" "xc:$KEY_OSD" +antialias \
    -fill "$LIT" -draw "roundrectangle 0,0 $((w-1)),$((h-1)) $r,$r" \
    -fill "$RED" -draw "roundrectangle 2,2 $((w-3)),$((h-3)) $((r-1)),$((r-1))" "$1"
}
osd_text() {  # FILE GRAVITY X Y SIZE TEXT
  convert "$1" -antialias -font "$BOLD" -pointsize "$5" -fill "$TEXT" -gravity "$2" -annotate "+$3+$4" "$6" "$1"
}
osd_finish() { convert "$1" -type TrueColor "$(bmp "$2")"; }
osd_tmp="$out/tmp_osd.png"

# P1-P5 (300-304).
for p in 1 2 3 4 5; do
  osd_plate "$osd_tmp" 100 40 10; osd_text "$osd_tmp" center 0 0 26 "P$p"; osd_finish "$osd_tmp" $((299 + p))
done

# Digit tiles: 305-314 and the blank 315 at 32 x 30, 330-339 and the blank 340 at 24 x 22. They
# are the plate's own red, so blanks vanish into it.
for d in 0 1 2 3 4 5 6 7 8 9; do
  convert -size 32x30 "xc:$RED" -antialias -font "$BOLD" -pointsize 30 -fill "$TEXT" -gravity center \
    -annotate +0+0 "$d" -type TrueColor "$(bmp $((305 + d)))"
  convert -size 24x22 "xc:$RED" -antialias -font "$BOLD" -pointsize 21 -fill "$TEXT" -gravity center \
    -annotate +0+0 "$d" -type TrueColor "$(bmp $((330 + d)))"
done
convert -size 32x30 "xc:$RED" -type TrueColor "$(bmp 315)"
convert -size 24x22 "xc:$RED" -type TrueColor "$(bmp 340)"

# DPI plates: LEVEL n over the digit row (x 30, y 37), the unit at the right (316-319); the
# X-Y plates with two rows at x 127, y 29 and y 61 (341-344).
for l in 1 2 3 4; do
  osd_plate "$osd_tmp" 262 81 12
  convert "$osd_tmp" +antialias -fill "$LIT" -draw "rectangle 14,31 247,32" "$osd_tmp"
  osd_text "$osd_tmp" northwest 16 8 16 "LEVEL $l"
  osd_text "$osd_tmp" northwest 176 38 24 "DPI"
  osd_finish "$osd_tmp" $((315 + l))

  osd_plate "$osd_tmp" 308 93 12
  convert "$osd_tmp" +antialias -fill "$LIT" -draw "rectangle 14,25 293,26" -draw "rectangle 20,56 287,56" "$osd_tmp"
  osd_text "$osd_tmp" northwest 16 5 15 "LEVEL $l"
  osd_text "$osd_tmp" northwest 24 31 16 "X AXIS"
  osd_text "$osd_tmp" northwest 24 63 16 "Y AXIS"
  osd_text "$osd_tmp" northwest 236 31 16 "DPI"
  osd_text "$osd_tmp" northwest 236 63 16 "DPI"
  osd_finish "$osd_tmp" $((340 + l))
done

# Side-button arrows: left (320) and right (321).
convert -size 59x55 "xc:$KEY_OSD" +antialias -fill "$RED" -stroke "$LIT" -strokewidth 2 \
  -draw "polygon 2,27 28,2 28,15 56,15 56,39 28,39 28,52" -type TrueColor "$(bmp 320)"
convert -size 59x55 "xc:$KEY_OSD" +antialias -fill "$RED" -stroke "$LIT" -strokewidth 2 \
  -draw "polygon 56,27 30,2 30,15 2,15 2,39 30,39 30,52" -type TrueColor "$(bmp 321)"

# NORMAL (322) and BATTLE (323).
osd_plate "$osd_tmp" 259 56 14; osd_text "$osd_tmp" center 0 0 30 "NORMAL"; osd_finish "$osd_tmp" 322
osd_plate "$osd_tmp" 235 56 14; osd_text "$osd_tmp" center 0 0 30 "BATTLE"; osd_finish "$osd_tmp" 323

# LOCK (324) and UNLOCK (325), each with a padlock, shut or open.
osd_lock() {  # W OPEN(0/1) TEXT ID
  osd_plate "$osd_tmp" "$1" 36 10
  local shackle="M 14,16 L 14,11 A 6,6 0 0 1 26,11 L 26,16"
  [ "$2" = 1 ] && shackle="M 14,16 L 14,11 A 6,6 0 0 1 26,11 L 26,12"
  convert "$osd_tmp" -antialias -fill none -stroke "$TEXT" -strokewidth 3 -draw "path '$shackle'" \
    -stroke none -fill "$TEXT" -draw "roundrectangle 10,16 30,29 2,2" -fill "$RED" -draw "rectangle 19,20 21,25" \
    "$osd_tmp"
  osd_text "$osd_tmp" west 40 0 20 "$3"
  osd_finish "$osd_tmp" "$4"
}
osd_lock 142 0 LOCK 324
osd_lock 178 1 UNLOCK 325

# Polling rate: 125, 250, 500 and 1000 Hz (326-329).
hz=(125 250 500 1000)
for i in 0 1 2 3; do
  osd_plate "$osd_tmp" 209 101 14
  convert "$osd_tmp" +antialias -fill "$LIT" -draw "rectangle 14,36 194,37" "$osd_tmp"
  osd_text "$osd_tmp" north 0 9 17 "POLLING RATE"
  osd_text "$osd_tmp" north 0 46 32 "${hz[$i]} Hz"
  osd_finish "$osd_tmp" $((326 + i))
done

# The window icon: a red H on the dark ground, 32 and 16 pixels.
convert -size 32x32 "xc:$GROUND" +antialias -fill "$RED" -draw "roundrectangle 1,1 30,30 6,6" -antialias \
  -font "$BOLD" -pointsize 22 -fill "$TEXT" -gravity center -annotate +0+0 "H" "$out/tmp_icon32.png"
convert "$out/tmp_icon32.png" -resize 16x16 "$out/tmp_icon16.png"
convert "$out/tmp_icon32.png" "$out/tmp_icon16.png" "$out/800.ico"

. "$(dirname "${BASH_SOURCE[0]}")/main-window.sh"  # the main window: warning plate, full page, its controls
# The pages' pictures, one script per page; each names its picture numbers on a "# ids:" line.
for page_art in "$(dirname "${BASH_SOURCE[0]}")"/page-*.sh; do
  [ -e "$page_art" ] && . "$page_art"
done

rm -f "$out"/tmp_*.png
