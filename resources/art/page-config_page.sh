# The performance page: its picture and its controls' pictures. Sourced by make-art.sh after its
# palette and helpers. The controls sit where app/config_page_win32.cpp places them.
# ids: 2100 2101 2102 2110 2111 2112 2113 2114 2115 2116 2117 2118 2119 2120 2121 2122 2123 2124 2125
# ids: 2130 2131 2132 2133 2140 2141
# The page picture 343 is drawn into "$out/pages": the display library uses that number too.
mkdir -p "$out/pages"

# Page 343, 720 x 500: heading, two framed panels, the labels of every control.
prompt_base 343 720 500 "PERFORMANCE"
convert "$out/tmp_base.png" +antialias -fill none -stroke "$LIST" \
  -draw "roundrectangle 20,58 366,484 8,8" -draw "roundrectangle 380,58 706,430 8,8" "$out/tmp_base.png"
label 36 88 13 "$SOFT" "DPI LEVELS"
for i in 0 1 2 3; do label $((42 + i * 67)) 136 12 "$TEXT" "$((i + 1))"; done
label 62 165 13 "$TEXT" "Enable independent X-Y sensitivity"
label 36 190 12 "$SOFT" "HIGH"
label 36 414 12 "$SOFT" "LOW"
label 36 440 13 "$SOFT" "POLLING RATE"
label 396 88 13 "$SOFT" "DOUBLE CLICK SPEED"
label 396 158 13 "$SOFT" "CURSOR SPEED"
label 396 228 13 "$SOFT" "SCROLL SPEED"
label 422 287 13 "$TEXT" "ONE SCREEN AT TIME"
label 396 328 13 "$SOFT" "LIFT OFF ADJUST"
for y in 132 202 272; do label 622 $((y - 16)) 11 "$DIM" "SLOW"; label 622 $((y - 3)) 11 "$DIM" "FAST"; done
label 622 356 11 "$DIM" "0-31"
convert "$out/tmp_base.png" -type TrueColor "BMP3:$out/pages/343.bmp"

# Vertical DPI slider: channel 24 x 220 on white (its transparent colour), and a 24 x 16 thumb.
convert -size 24x220 xc:white +antialias -fill "$PANEL" -draw "roundrectangle 8,4 15,215 3,3" \
  -fill "$RED" -draw "rectangle 10,6 13,213" -type TrueColor "$(bmp 2100)"
convert -size 24x220 xc:white +antialias -fill "$PANEL" -draw "roundrectangle 8,4 15,215 3,3" \
  -fill "$LIT" -draw "rectangle 10,6 13,213" -type TrueColor "$(bmp 2101)"
convert -size 24x16 "xc:$KEY_OUTLINE" +antialias -fill "$HOT" -draw "roundrectangle 1,2 22,13 4,4" \
  -fill "$TEXT" -draw "rectangle 6,7 17,8" -type TrueColor "$(bmp 2102)"

# A 70 x 28 state button: ID STATE(0 normal, 1 pressed, 2 hover, 3 disabled) TEXT
state_button() {
  local fill rim ink
  case $2 in
    0) fill=$PANEL; rim=$RED; ink=$TEXT ;;
    1) fill=$RED; rim=$HOT; ink=$TEXT ;;
    2) fill=$PANEL; rim=$HOT; ink=$TEXT ;;
    3) fill=$GROUND; rim=$LIST; ink=$DIM ;;
  esac
  convert -size 70x28 "xc:$GROUND" +antialias -fill "$rim" -draw "roundrectangle 0,0 69,27 6,6" \
    -fill "$fill" -draw "roundrectangle 2,2 67,25 5,5" -antialias -font "$BOLD" -pointsize 12 -fill "$ink" \
    -gravity center -annotate +0+0 "$3" -type TrueColor "$(bmp "$1")"
}
rates=(125HZ 250HZ 500HZ 1000HZ)
for b in 0 1 2 3; do
  for s in 0 1 2 3; do state_button $((2110 + 4 * b + s)) $s "${rates[$b]}"; done
done

# Check box 20 x 20: clear, checked, hover, disabled.
check_box() {  # ID RIM FILL MARK(0/1)
  convert -size 20x20 "xc:$GROUND" +antialias -fill "$2" -draw "roundrectangle 0,0 19,19 4,4" \
    -fill "$3" -draw "roundrectangle 2,2 17,17 3,3" "$out/tmp_check.png"
  [ "$4" = 1 ] && convert "$out/tmp_check.png" +antialias -fill none -stroke "$TEXT" -strokewidth 3 \
    -draw "polyline 5,10 9,14 15,5" "$out/tmp_check.png"
  convert "$out/tmp_check.png" -type TrueColor "$(bmp "$1")"
}
check_box 2130 "$SOFT" "$PANEL" 0
check_box 2131 "$HOT" "$LIT" 1
check_box 2132 "$HOT" "$PANEL" 0
check_box 2133 "$LIST" "$GROUND" 0
rm -f "$out/tmp_check.png"

# APPLY (four 90 x 30 frames) and RESET TO DEFAULT (four 150 x 30 frames).
strip 2140 APPLY
wide_frames=()
for i in 0 1 2 3; do
  case $i in
    0) fill=$PANEL; rim=$RED; ink=$TEXT ;;
    1) fill=$RED; rim=$HOT; ink=$TEXT ;;
    2) fill=$LIT; rim=$HOT; ink=$TEXT ;;
    3) fill=$GROUND; rim=$LIST; ink=$DIM ;;
  esac
  convert -size 150x30 "xc:$GROUND" +antialias -fill "$rim" -draw "roundrectangle 0,0 149,29 6,6" \
    -fill "$fill" -draw "roundrectangle 2,2 147,27 5,5" -antialias -font "$BOLD" -pointsize 12 -fill "$ink" \
    -gravity center -annotate +0+0 "RESET TO DEFAULT" "$out/tmp_w$i.png"
  wide_frames+=("$out/tmp_w$i.png")
done
convert "${wide_frames[@]}" +append -type TrueColor "$(bmp 2141)"
