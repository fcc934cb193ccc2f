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

# The window icon: a red H on the dark ground, 32 and 16 pixels.
convert -size 32x32 "xc:$GROUND" +antialias -fill "$RED" -draw "roundrectangle 1,1 30,30 6,6" -antialias \
  -font "$BOLD" -pointsize 22 -fill "$TEXT" -gravity center -annotate +0+0 "H" "$out/tmp_icon32.png"
convert "$out/tmp_icon32.png" -resize 16x16 "$out/tmp_icon16.png"
convert "$out/tmp_icon32.png" "$out/tmp_icon16.png" "$out/800.ico"

. "$(dirname "${BASH_SOURCE[0]}")/main-window.sh"  # the main window: warning plate, full page, its controls

rm -f "$out"/tmp_*.png
