# The macro editor (dialog 702): the window's picture with its panels and labels, the button
# strips, the two drop buttons, the two delay toggles and the sixteen kind icons of the list.
# Control positions match the table in app/macro_editor_win32.cpp.
# ids: 702 2701 2702 2703 2704 2705 2706 2707 2708 2709 2710 2711 2712 2713 2714 2715 2716 2717 2718
# ids: 2720 2721 2722 2723 2730

ME_W=600; ME_H=500
convert -size "${ME_W}x${ME_H}" "xc:$KEY_OUTLINE" +antialias \
  -fill "$RED" -draw "roundrectangle 0,0 $((ME_W-1)),$((ME_H-1)) 18,18" \
  -fill "$GROUND" -draw "roundrectangle 3,3 $((ME_W-4)),$((ME_H-4)) 16,16" \
  -fill "$PANEL" -draw "rectangle 14,12 $((ME_W-15)),44" \
  -fill "$LIT" -draw "rectangle 14,44 $((ME_W-15)),46" \
  -fill "$PANEL" -draw "roundrectangle 12,52 $((ME_W-13)),127 8,8" \
  -draw "roundrectangle 350,130 $((ME_W-13)),440 8,8" \
  -fill "$LIST" -draw "rectangle 18,132 343,436" \
  -fill "$LIT" -draw "rectangle 360,282 580,283" \
  -antialias -font "$BOLD" -pointsize 18 -fill "$TEXT" -annotate +24+35 "MACRO EDITOR" \
  -font "$BOLD" -pointsize 11 -fill "$SOFT" -annotate +20+77 "MACRO" -annotate +20+113 "COMMAND" \
  -annotate +360+227 "DELAY (ms)" -annotate +360+297 "RECORDING DELAY" \
  -font "$FONT" -annotate +446+377 "ms" \
  -type TrueColor "$(bmp 702)"

# Buttons: four frames side by side.   ID W H GROUND TEXT SIZE
me_button() { hover_picture "$1" pill_frame "$2" "$3" "$4" "$5" "$6"; }
me_button 2701 90 30 "$GROUND" "OK" 13
me_button 2702 90 30 "$GROUND" "CANCEL" 13
me_button 2703 90 30 "$GROUND" "APPLY" 13
me_button 2704 80 28 "$PANEL" "INSERT" 11
me_button 2705 80 28 "$PANEL" "NEW" 11
me_button 2706 80 28 "$PANEL" "LOAD" 11
me_button 2707 80 28 "$PANEL" "SAVE AS" 11
me_button 2708 80 28 "$PANEL" "DEL FILE" 11
me_button 2709 105 30 "$PANEL" "● RECORD" 12
me_button 2710 105 30 "$PANEL" "■ STOP" 12
me_button 2711 105 30 "$PANEL" "DELETE" 12
me_button 2712 50 30 "$PANEL" "▲" 14
me_button 2713 50 30 "$PANEL" "▼" 14
me_button 2716 105 28 "$PANEL" "ADJUST" 12
me_button 2717 105 28 "$PANEL" "CONFIGURE" 11

# The delay steppers: 24 x 12 with a small arrow.   STATE FILE UP(1/0)
me_step_frame() {
  state_colours "$1"
  local arrow="polygon 12,3 17,9 7,9"
  [ "$3" = 0 ] && arrow="polygon 7,3 17,3 12,9"
  convert -size 24x12 "xc:$PANEL" +antialias -fill "$S_RIM" -draw "rectangle 0,0 23,11" \
    -fill "$S_FILL" -draw "rectangle 1,1 22,10" -fill "$S_INK" -draw "$arrow" "$2"
}
hover_picture 2714 me_step_frame 1
hover_picture 2715 me_step_frame 0

# Drop buttons: a field with an arrow at the right; the program writes the caption.
me_drop_frame() {
  state_colours "$1"
  local rim=$S_RIM ground='#1A1A1A'
  [ "$1" = 3 ] && ground=$PANEL
  convert -size 230x28 "xc:$PANEL" +antialias -fill "$rim" -draw "roundrectangle 0,0 229,27 5,5" \
    -fill "$ground" -draw "roundrectangle 1,1 228,26 4,4" -fill "$S_FILL" -draw "rectangle 204,2 227,25" \
    -fill "$S_INK" -draw "polygon 209,11 222,11 215,18" "$2"
}
hover_picture 2718 me_drop_frame

# Delay toggles, off and on: a box with a lit mark, and the setting's name.   ID TEXT ON
me_toggle() {
  local mark=()
  [ "$3" = 1 ] && mark=(-fill "$LIT" -draw "rectangle 5,7 14,16")
  convert -size 220x24 "xc:$PANEL" +antialias -fill "$LIST" -draw "rectangle 1,4 18,21" \
    -fill '#1A1A1A' -draw "rectangle 3,6 16,19" "${mark[@]}" \
    -antialias -font "$BOLD" -pointsize 12 -fill "$([ "$3" = 1 ] && echo "$TEXT" || echo "$SOFT")" \
    -annotate +28+17 "$2" -type TrueColor "$(bmp "$1")"
}
me_toggle 2720 "NO DELAY" 0
me_toggle 2721 "NO DELAY" 1
me_toggle 2722 "DEFAULT DELAY" 0
me_toggle 2723 "DEFAULT DELAY" 1

# Kind icons: 16 cells of 24 x 16 on the outline key (the list's mask colour); index = kind.
me_icons=()
for k in $(seq 0 15); do
  f="$out/tmp_k$k.png"
  draw=()
  case $k in
    0) draw=() ;;
    1) draw=(-fill "$LIT" -draw "roundrectangle 3,2 20,13 3,3" -fill "$TEXT" -draw "polygon 11,4 15,9 7,9") ;;
    2) draw=(-fill "$LIST" -draw "roundrectangle 3,2 20,13 3,3" -fill "$TEXT" -draw "polygon 7,6 15,6 11,11") ;;
    3) draw=(-fill "$LIT" -draw "roundrectangle 6,1 17,14 5,5" -fill "$TEXT" -draw "rectangle 11,2 12,6") ;;
    4) draw=(-fill "$LIST" -draw "roundrectangle 6,1 17,14 5,5" -fill "$TEXT" -draw "rectangle 11,2 12,6") ;;
    5) draw=(-fill "$SOFT" -draw "rectangle 10,1 13,14" -fill "$LIT" -draw "polygon 7,10 16,10 11,15") ;;
    6) draw=(-fill "$SOFT" -draw "rectangle 10,1 13,14" -fill "$LIT" -draw "polygon 7,5 16,5 11,0") ;;
    7) draw=(-fill "$SOFT" -draw "circle 11,8 11,2" -fill "$GROUND" -draw "line 11,8 11,4" -draw "line 11,8 14,8") ;;
    8) draw=(-fill "$LIT" -draw "polygon 5,5 9,5 14,1 14,14 9,10 5,10") ;;
    9) draw=(-fill "$TEXT" -draw "polygon 6,2 6,14 9,11 12,15 14,14 11,10 15,10") ;;
    10) draw=(-fill "$HOT" -draw "polygon 11,1 20,8 11,15 2,8") ;;
    11) draw=(-fill "$SOFT" -draw "rectangle 3,7 15,9" -draw "polygon 14,3 20,8 14,13") ;;
    12) draw=(-fill "$TEXT" -draw "rectangle 5,5 18,6" -draw "rectangle 5,10 18,11") ;;
    13) draw=(-fill "$SOFT" -draw "roundrectangle 3,3 20,12 2,2" -fill "$GROUND" -draw "rectangle 6,7 17,8") ;;
    14) draw=(-fill "$LIT" -draw "rectangle 3,3 8,12" -draw "polygon 10,3 20,8 10,13") ;;
    15) draw=(-fill "$LIT" -draw "polygon 4,8 10,3 10,13" -draw "rectangle 9,7 19,9") ;;
  esac
  convert -size 24x16 "xc:$KEY_OUTLINE" +antialias "${draw[@]}" "$f"
  me_icons+=("$f")
done
convert "${me_icons[@]}" +append -type TrueColor "$(bmp 2730)"
