# The main window's pictures: the warning plate, the full page and every control placed on it.
# Sourced by make-art.sh after its palette and helpers; the control positions come from
# main-layout.txt (id x y w h), which the window code compiles into its table, so the page's
# ground is drawn around the same numbers.

MW_LAYOUT="$(dirname "${BASH_SOURCE[0]}")/main-layout.txt"
STRIP='#161616'   # the title strip
WELL='#1E1E1E'    # the wells on the page's panel: the window ground
EDGE='#3A3A3A'    # thin borders of the wells
SHELL='#141414'   # the mouse's shell

declare -A MW_POS
while read -r mw_id mw_x mw_y mw_w mw_h; do
  [ -n "$mw_id" ] && MW_POS[$mw_id]="$mw_x $mw_y $mw_w $mw_h"
done <"$MW_LAYOUT"

# Sets X Y W H of a control.
at() { read -r X Y W H <<<"${MW_POS[$1]:?no layout line for control $1}"; }

# Fill, rim and ink of a hover-button frame: 0 normal, 1 pressed, 2 hover, 3 disabled.
state_colours() {
  case $1 in
    0) S_FILL='#333333'; S_RIM=$RED; S_INK=$TEXT ;;
    1) S_FILL=$RED; S_RIM=$HOT; S_INK=$TEXT ;;
    2) S_FILL=$LIT; S_RIM=$HOT; S_INK=$TEXT ;;
    3) S_FILL='#262626'; S_RIM=$LIST; S_INK=$DIM ;;
  esac
}

# A hover-button picture: four frames side by side, each drawn by FRAMEFN STATE FILE ARGS...
hover_picture() {  # ID FRAMEFN ARGS...
  local id=$1 fn=$2 frames=() i
  shift 2
  for i in 0 1 2 3; do
    "$fn" "$i" "$out/tmp_h$i.png" "$@"
    frames+=("$out/tmp_h$i.png")
  done
  convert "${frames[@]}" +append -type TrueColor "$(bmp "$id")"
}

# A rounded button with a centred label.   STATE FILE W H GROUND TEXT SIZE
pill_frame() {
  local w=$3 h=$4
  state_colours "$1"
  convert -size "${w}x${h}" "xc:$5" -fill "$S_RIM" -draw "roundrectangle 0,0 $((w-1)),$((h-1)) 7,7" \
    -fill "$S_FILL" -draw "roundrectangle 2,2 $((w-3)),$((h-3)) 6,6" \
    -font "$BOLD" -pointsize "$7" -fill "$S_INK" -gravity center -annotate +0+0 "$6" "$2"
}

# A round button with a drawn symbol.   STATE FILE SIZE GROUND SYMBOL
round_frame() {
  local s=$3 c=$(($3 / 2)) ink
  state_colours "$1"
  ink=$S_INK; [ "$1" = 0 ] && ink=$SOFT
  local draw=()
  case $5 in
    hide)  draw=(-stroke "$ink" -strokewidth 2.5 -fill none -draw "line $((c-7)),$((c+8)) $((c+7)),$((c+8))"
                 -draw "polyline $((c-6)),$((c-3)) $c,$((c+3)) $((c+6)),$((c-3))" -draw "line $c,$((c-9)) $c,$((c+2))") ;;
    reset) draw=(-stroke "$ink" -strokewidth 2.5 -fill none -draw "arc $((c-8)),$((c-8)) $((c+8)),$((c+8)) -60,230"
                 -stroke none -fill "$ink" -draw "polygon $((c+2)),$((c-12)) $((c+9)),$((c-7)) $((c+1)),$((c-3))") ;;
    register) draw=(-stroke "$ink" -strokewidth 2 -fill none -draw "roundrectangle $((c-7)),$((c-9)) $((c+6)),$((c+9)) 2,2"
                 -strokewidth 1.5 -draw "line $((c-4)),$((c-4)) $((c+3)),$((c-4))" -draw "line $((c-4)),$c $((c+3)),$c"
                 -draw "line $((c-4)),$((c+4)) $c,$((c+4))") ;;
    help)  draw=(-font "$BOLD" -pointsize 19 -fill "$ink" -gravity center -annotate +0+1 "?") ;;
  esac
  convert -size "${s}x${s}" "xc:$4" -fill "$S_RIM" -draw "circle $((c-1)).5,$((c-1)).5 $((c-1)).5,0" \
    -fill "$S_FILL" -draw "circle $((c-1)).5,$((c-1)).5 $((c-1)).5,2" "${draw[@]}" "$2"
}

# A category button: the plate's letter tile and the category's name.   STATE FILE W H LETTER TEXT
category_frame() {
  local w=$3 h=$4 tile
  state_colours "$1"
  tile=$LIT; [ "$1" = 2 ] && tile=$RED; [ "$1" = 1 ] && tile=$HOT; [ "$1" = 3 ] && tile=$LIST
  convert -size "${w}x${h}" "xc:$WELL" -fill "$S_RIM" -draw "roundrectangle 0,0 $((w-1)),$((h-1)) 7,7" \
    -fill "$S_FILL" -draw "roundrectangle 2,2 $((w-3)),$((h-3)) 6,6" \
    -fill "$tile" -draw "roundrectangle 6,6 $((h-7)),$((h-7)) 4,4" \
    -font "$BOLD" -pointsize 15 -fill "$S_INK" -gravity west -annotate "+$(((h - 12) / 2 - 4))+0" "$5" \
    -pointsize 11 -annotate "+$((h + 2))+0" "$6" "$2"
}

# A mode button with a lamp that shows whether the mode is on.   STATE FILE W H TEXT ON
mode_frame() {
  local w=$3 h=$4 lamp=$LIST ring=$DIM fill rim ink=$TEXT
  state_colours "$1"
  fill=$S_FILL; rim=$S_RIM
  if [ "$6" = 1 ]; then
    lamp=$HOT; ring=$LIT
    [ "$1" = 0 ] && { fill='#4A0C0C'; rim=$LIT; }
  else
    [ "$1" = 0 ] && { rim=$LIST; ink=$SOFT; }
  fi
  [ "$1" = 3 ] && { ink=$DIM; lamp='#3A3A3A'; ring=$LIST; }
  convert -size "${w}x${h}" "xc:$WELL" -fill "$rim" -draw "roundrectangle 0,0 $((w-1)),$((h-1)) 7,7" \
    -fill "$fill" -draw "roundrectangle 2,2 $((w-3)),$((h-3)) 6,6" \
    -fill "$ring" -draw "circle 20,$((h/2)) 20,$((h/2-6))" -fill "$lamp" -draw "circle 20,$((h/2)) 20,$((h/2-4))" \
    -font "$BOLD" -pointsize 12 -fill "$ink" -gravity center -annotate +8+0 "$5" "$2"
}

# A demonstration-video button: a play mark and the title.   STATE FILE W H TEXT
video_frame() {
  local w=$3 h=$4 c=$(($4 / 2))
  state_colours "$1"
  local mark=$LIT; [ "$1" -ge 1 ] && [ "$1" -le 2 ] && mark=$TEXT; [ "$1" = 3 ] && mark=$LIST
  [ "$1" = 0 ] && S_FILL='#262626' && S_RIM=$LIST
  convert -size "${w}x${h}" "xc:$WELL" -fill "$S_RIM" -draw "roundrectangle 0,0 $((w-1)),$((h-1)) 6,6" \
    -fill "$S_FILL" -draw "roundrectangle 1,1 $((w-2)),$((h-2)) 5,5" \
    -fill "$mark" -draw "circle 17,$c 17,$((c-9))" -fill "$S_FILL" -draw "polygon 14,$((c-5)) 22,$c 14,$((c+5))" \
    -font "$BOLD" -pointsize 10 -fill "$S_INK" -gravity west -annotate +34+0 "$5" "$2"
}

# The current-profile button: a field whose name the code writes at (0,2)-(137,17), with a
# drop-down mark at the right.   STATE FILE W H
profile_frame() {
  local w=$3 h=$4 line mark
  state_colours "$1"
  line=$RED; mark=$LIT
  case $1 in 1) line=$HOT; mark=$HOT ;; 2) line=$HOT; mark=$HOT ;; 3) line=$LIST; mark=$LIST ;; esac
  convert -size "${w}x${h}" "xc:$STRIP" -fill "$line" -draw "rectangle 0,$((h-2)) $((w-1)),$((h-1))" \
    -fill "$([ "$1" = 2 ] && echo '#2A1010' || echo "$STRIP")" -draw "rectangle $((w-20)),0 $((w-1)),$((h-3))" \
    -fill "$mark" -draw "polygon $((w-15)),6 $((w-5)),6 $((w-10)),12" "$2"
}

# --- 121: the warning plate -------------------------------------------------------------------
prompt_base 121 556 164 "HALVARD"
convert "$out/tmp_base.png" -font "$FONT" -pointsize 12 -fill "$SOFT" -annotate +126+35 "GAMING MOUSE" \
  -fill "$LIT" -draw "polygon 62,62 94,116 30,116" -fill "$GROUND" -draw "polygon 62,72 86,111 38,111" \
  -fill "$HOT" -draw "polygon 62,66 90,113 34,113" -fill "$GROUND" -draw "roundrectangle 60,80 64,100 1,1" \
  -draw "circle 62,106 62,103.5" "$out/tmp_base.png"
prompt_text 116 62 412 50 16 "Please plug-in Gaming Device to start the AP configuration !"
at 1005
convert "$out/tmp_base.png" -fill "$LIST" -draw "line 116,$((Y-12)) $((X-14)),$((Y-12))" "$out/tmp_base.png"
finish 121

# --- the buttons ------------------------------------------------------------------------------
at 1005; hover_picture 446 pill_frame "$W" "$H" "$GROUND" YES 13
at 1013; hover_picture 118 pill_frame "$W" "$H" "$GROUND" APPLY 13
at 1014; hover_picture 119 pill_frame "$W" "$H" "$GROUND" CANCEL 13
at 1015; hover_picture 120 pill_frame "$W" "$H" "$GROUND" OK 13
at 1001; hover_picture 110 round_frame "$W" "$STRIP" hide
at 1006; hover_picture 134 round_frame "$W" "$STRIP" reset
at 1007; hover_picture 135 round_frame "$W" "$STRIP" register
at 1008; hover_picture 136 round_frame "$W" "$STRIP" help
at 1115; hover_picture 139 category_frame "$W" "$H" M "MACRO"
at 1116; hover_picture 140 category_frame "$W" "$H" S "SINGLE KEY"
at 1117; hover_picture 141 category_frame "$W" "$H" D "DEFAULT"
at 1118; hover_picture 142 category_frame "$W" "$H" A "LAUNCHER"
at 1119; hover_picture 182 mode_frame "$W" "$H" NORMAL 0; hover_picture 183 mode_frame "$W" "$H" NORMAL 1
at 1120; hover_picture 184 mode_frame "$W" "$H" BATTLE 0; hover_picture 185 mode_frame "$W" "$H" BATTLE 1
at 1787; hover_picture 597 profile_frame "$W" "$H"
at 1788; hover_picture 598 video_frame "$W" "$H" "AIR THROUGH"
at 1789; hover_picture 599 video_frame "$W" "$H" "3D AXIS MOVEMENT"

# --- 600-611: the page buttons, skinned with a chamfered outline ----------------------------------
# Picture for normal, pressed and disabled; lit picture for hover; mask.   ID W H ICON TEXT
page_button() {
  local id=$1 w=$2 h=$3 icon=$4 text=$5 k=12 i ground rim ink glyph
  local shape="polygon $k,0 $((w-1)),0 $((w-1)),$((h-1-k)) $((w-1-k)),$((h-1)) 0,$((h-1)) 0,$k"
  local inner="polygon $((k+1)),2 $((w-3)),2 $((w-3)),$((h-2-k)) $((w-2-k)),$((h-3)) 2,$((h-3)) 2,$((k+1))"
  convert -size "${w}x${h}" xc:white +antialias -fill black -draw "$shape" -type TrueColor "$(bmp $((id + 2)))"
  for i in 0 1; do
    if [ $i = 0 ]; then ground='#2E2E2E'; rim=$RED; ink=$TEXT; glyph=$LIT
    else ground='#7A1010'; rim=$HOT; ink=$TEXT; glyph=$TEXT; fi
    local cx=$((w / 2)) cy=32 art=()
    case $icon in
      dial) art=(-stroke "$glyph" -strokewidth 3 -fill none -draw "arc $((cx-17)),$((cy-17)) $((cx+17)),$((cy+17)) 150,390"
                 -strokewidth 2.5 -draw "line $cx,$cy $((cx+10)),$((cy-10))" -stroke none -fill "$glyph"
                 -draw "circle $cx,$cy $cx,$((cy-4))") ;;
      light) art=(-fill "$glyph" -draw "circle $cx,$((cy-3)) $cx,$((cy-13))" -fill "$ground"
                 -draw "circle $cx,$((cy-3)) $cx,$((cy-8))" -fill "$glyph" -draw "circle $cx,$((cy-3)) $cx,$((cy-5))"
                 -draw "rectangle $((cx-5)),$((cy+11)) $((cx+5)),$((cy+13))" -draw "rectangle $((cx-4)),$((cy+16)) $((cx+4)),$((cy+17))"
                 -stroke "$glyph" -strokewidth 2 -draw "line $((cx-24)),$((cy-3)) $((cx-17)),$((cy-3))"
                 -draw "line $((cx+17)),$((cy-3)) $((cx+24)),$((cy-3))" -draw "line $((cx-17)),$((cy-19)) $((cx-12)),$((cy-14))"
                 -draw "line $((cx+17)),$((cy-19)) $((cx+12)),$((cy-14))") ;;
      macro) art=(-stroke "$glyph" -strokewidth 2 -fill none -draw "roundrectangle $((cx-24)),$((cy-14)) $((cx+24)),$((cy+14)) 4,4"
                 -stroke none -fill "$glyph")
             local kx ky
             for ky in $((cy-8)) $((cy-1)); do
               for kx in -17 -9 -1 7 15; do art+=(-draw "rectangle $((cx+kx)),$ky $((cx+kx+3)),$((ky+3))"); done
             done
             art+=(-draw "rectangle $((cx-13)),$((cy+6)) $((cx+13)),$((cy+9))") ;;
      files) art=(-stroke "$glyph" -strokewidth 2 -fill "$ground" -draw "rectangle $((cx-10)),$((cy-17)) $((cx+16)),$((cy+11))"
                 -draw "rectangle $((cx-16)),$((cy-11)) $((cx+10)),$((cy+17))" -strokewidth 1.5
                 -draw "line $((cx-11)),$((cy-4)) $((cx+5)),$((cy-4))" -draw "line $((cx-11)),$((cy+2)) $((cx+5)),$((cy+2))"
                 -draw "line $((cx-11)),$((cy+8)) $((cx+1)),$((cy+8))") ;;
    esac
    convert -size "${w}x${h}" "xc:$GROUND" +antialias -fill "$rim" -draw "$shape" -fill "$ground" -draw "$inner" \
      -antialias "${art[@]}" -stroke none -font "$BOLD" -pointsize 11 -fill "$ink" -gravity south -annotate +0+11 "$text" \
      -type TrueColor "$(bmp $((id + i)))"
  done
}
at 1009; page_button 600 "$W" "$H" dial "PERFORMANCE"
at 1011; page_button 603 "$W" "$H" macro "MACRO EDITOR"
at 1012; page_button 606 "$W" "$H" light "LIGHTING"
at 1010; page_button 609 "$W" "$H" files "PROFILES"

# --- 612-637: the profile tabs ---------------------------------------------------------------------
# Neighbouring tabs overlap by their slant. The selected tab shows its whole outline; an unselected
# tab gives up the corner its selected-side neighbour covers, so the masks never claim a pixel
# twice whatever the windows' stacking order.
at 1200; TAB_W=$W; TAB_H=$H
TAB_SLANT=16
tab() {  # ID NUMERAL KIND (selected, left: the selected tab lies left, right: it lies right)
  local id=$1 w=$TAB_W h=$TAB_H o=$TAB_SLANT kind=$3 mask
  local b=$((h - 1)) r=$((w - 1)) mid=$((h / 2))
  local full="polygon $o,0 $((r-o)),0 $r,$b 0,$b"
  case $kind in
    selected) mask=$full ;;
    right) mask="polygon $o,0 $((r-o)),0 $((r-o/2)),$mid $((r-o)),$b 0,$b" ;;
    left) mask="polygon $o,0 $((r-o)),0 $r,$b $o,$b $((o/2)),$mid" ;;
  esac
  convert -size "${w}x${h}" xc:white +antialias -fill black -draw "$mask" -type TrueColor "$(bmp $((id + 1)))"
  if [ "$kind" = selected ]; then
    convert -size "${w}x${h}" "xc:$STRIP" +antialias -fill "$LIT" -draw "$full" \
      -fill "$PANEL" -draw "polygon $((o+1)),2 $((r-o-1)),2 $((r-2)),$b 2,$b" \
      -fill "$HOT" -draw "rectangle $((o+1)),0 $((r-o-1)),1" \
      -antialias -font "$BOLD" -pointsize 12 -fill "$TEXT" -gravity center -annotate +0+2 "PROFILE $2" \
      -type TrueColor "$(bmp "$id")"
  else
    convert -size "${w}x${h}" "xc:$STRIP" +antialias -fill "$LIST" -draw "$full" \
      -fill '#232323' -draw "polygon $((o+1)),1 $((r-o-1)),1 $((r-1)),$((b-2)) 1,$((b-2))" \
      -fill "$LIT" -draw "rectangle 0,$((b-1)) $r,$b" \
      -antialias -font "$BOLD" -pointsize 11 -fill "$SOFT" -gravity center -annotate +0+0 "PROFILE $2" \
      -type TrueColor "$(bmp "$id")"
  fi
}
tab 612 I selected;   tab 614 I right
tab 616 II selected;  tab 618 II right;  tab 620 II left
tab 622 III selected; tab 624 III right; tab 626 III left
tab 628 IV selected;  tab 630 IV right;  tab 632 IV left
tab 634 V selected;   tab 636 V left

# --- 124: the full page ------------------------------------------------------------------------------
PW=930; PH=768; TITLE=144
CARD_TOP=142; CARD_BOTTOM=680
page=(-size "${PW}x${PH}" "xc:$KEY_OUTLINE" +antialias
  -fill "$RED" -draw "roundrectangle 0,0 $((PW-1)),$((PH-1)) 22,22"
  -fill "$GROUND" -draw "roundrectangle 3,3 $((PW-4)),$((PH-4)) 20,20"
  -fill "$STRIP" -draw "roundrectangle 3,3 $((PW-4)),$((TITLE+30)) 20,20"
  -antialias)
# Title strip: speed marks between the heading and the round buttons, the heading, the profile label.
for i in 0 1 2 3 4 5 6; do
  x=$((420 + i * 34)); shade=$(printf '#%02X0D0D' $((40 + i * 9)))
  page+=(-fill "$shade" -draw "polygon $x,18 $((x+14)),18 $((x-30)),92 $((x-44)),92")
done
page+=(-fill "$LIT" -draw "polygon 30,30 42,30 30,84 18,84"
  -font "$BOLD" -pointsize 44 -fill "$TEXT" -annotate +52+74 "HALVARD"
  -font "$FONT" -pointsize 12 -fill "$SOFT" -kerning 3 -annotate +55+96 "GAMING MOUSE CONFIGURATION" -kerning 0)
at 1787
page+=(-font "$BOLD" -pointsize 11 -fill "$DIM" -gravity northwest -annotate "+$((X-62))+$((Y+3))" "PROFILE"
  -gravity none)
# The panel below the tabs, its lit top edge and the bottom bar.
page+=(-fill "$PANEL" -stroke "$EDGE" -draw "roundrectangle 16,$CARD_TOP $((PW-17)),$CARD_BOTTOM 12,12" -stroke none
  -fill "$PANEL" -draw "rectangle 17,$CARD_TOP $((PW-18)),$((CARD_TOP+12))"
  -fill "$LIT" -draw "rectangle 16,$CARD_TOP $((PW-17)),$((CARD_TOP+1))")

well() {  # X0 Y0 X1 Y1 TITLE: a dark well on the panel with its heading
  page+=(-fill "$WELL" -stroke "$EDGE" -draw "roundrectangle $1,$2 $3,$4 8,8" -stroke none
    -fill "$LIT" -draw "rectangle $(($1+10)),$(($2+10)) $(($1+13)),$(($2+21))"
    -font "$BOLD" -pointsize 11 -fill "$SOFT" -annotate "+$(($1+20))+$(($2+20))" "$5")
}
well 32 164 520 664 "BUTTONS"
page+=(-font "$FONT" -pointsize 11 -fill "$DIM" -gravity north -annotate "$(printf '%+d+648' $((276 - PW / 2)))" \
  "Point at a button to see its function; click it to assign one." -gravity none)
well 536 164 898 236 "LED MODE"
well 536 248 898 424 "BUTTON FUNCTION"
well 536 436 898 664 "SETTINGS"
page+=(-font "$FONT" -pointsize 11 -fill "$DIM" -annotate +36+728 "Changes are written to the mouse with APPLY or OK.")
page+=(-fill "$RED" -draw "rectangle 24,720 27,731")
convert "${page[@]}" "$out/tmp_page.png"

# The mouse, seen from above, nose up: its shell, a faint glow below it, the button caps where
# the hot spots sit, and numbered call-outs. The caps are drawn as the unlit hot-spot pictures
# show them, so the page reads the same before the controls are placed.
MX=276; MY=214
mouse=(-antialias)
shell="path 'M $((MX-66)),$((MY+48)) C $((MX-68)),$((MY+8)) $((MX-36)),$((MY-2)) $MX,$((MY-2))
  C $((MX+36)),$((MY-2)) $((MX+68)),$((MY+8)) $((MX+66)),$((MY+48))
  C $((MX+64)),$((MY+100)) $((MX+90)),$((MY+130)) $((MX+90)),$((MY+190))
  C $((MX+90)),$((MY+262)) $((MX+46)),$((MY+288)) $MX,$((MY+288))
  C $((MX-48)),$((MY+288)) $((MX-82)),$((MY+266)) $((MX-92)),$((MY+222))
  C $((MX-100)),$((MY+180)) $((MX-98)),$((MY+120)) $((MX-80)),$((MY+98))
  C $((MX-68)),$((MY+84)) $((MX-64)),$((MY+70)) $((MX-66)),$((MY+48)) Z'"
mouse+=(-fill none -stroke '#4A4A4A' -strokewidth 2 -draw "$shell" -stroke none
  -fill none -stroke '#0A0A0A' -strokewidth 2
  -draw "path 'M $((MX-66)),$((MY+100)) C $((MX-30)),$((MY+92)) $((MX+30)),$((MY+92)) $((MX+66)),$((MY+100))'"
  -draw "line $MX,$MY $MX,$((MY+97))" -stroke none
  -fill '#1C1C1C' -draw "path 'M $((MX-30)),$((MY+150)) C $((MX-30)),$((MY+130)) $((MX+30)),$((MY+130)) $((MX+30)),$((MY+150))
     L $((MX+34)),$((MY+232)) C $((MX+30)),$((MY+262)) $((MX-30)),$((MY+262)) $((MX-34)),$((MY+232)) Z'"
  -fill none -stroke "$RED" -strokewidth 2
  -draw "path 'M $((MX-50)),$((MY+100)) C $((MX-56)),$((MY+150)) $((MX-58)),$((MY+210)) $((MX-40)),$((MY+256))'"
  -draw "path 'M $((MX+50)),$((MY+100)) C $((MX+56)),$((MY+150)) $((MX+58)),$((MY+210)) $((MX+40)),$((MY+256))'"
  -stroke none -fill "$LIT" -draw "polygon $((MX-8)),$((MY+196)) $((MX+8)),$((MY+196)) $((MX+3)),$((MY+224)) $((MX-3)),$((MY+224))"
  -font "$BOLD" -pointsize 15 -fill '#3A3A3A' -annotate "+$((MX-6))+$((MY+182))" "H")
# Call-outs: button index, side, badge row.
callouts=("0 L 1" "1 R 1" "2 T 0" "3 R 2" "4 R 3" "5 L 2" "6 L 3" "7 L 4" "8 L 5" "9 R 4" "10 R 5")
for c in "${callouts[@]}"; do
  read -r i side row <<<"$c"
  at $((1740 + i))
  by=$((MY + 4 + row * 44)); ex=$((X + W / 2)); ey=$((Y + H / 2))
  case $side in
    L) bx=84; leader="polyline $((bx + 14)),$by $((bx + 40)),$by $ex,$ey" ;;
    R) bx=468; leader="polyline $((bx - 14)),$by $((bx - 40)),$by $ex,$ey" ;;
    T) bx=$ex; by=$((MY - 20)); leader="line $ex,$((by + 13)) $ex,$ey" ;;
  esac
  mouse+=(-fill none -stroke '#555555' -strokewidth 1 -draw "$leader" -stroke none
    -fill '#555555' -draw "circle $ex,$ey $ex,$((ey+2))"
    -fill "$RED" -draw "circle $bx,$by $bx,$((by-12))" -fill "$GROUND" -draw "circle $bx,$by $bx,$((by-10))"
    -font "$BOLD" -pointsize 11 -fill "$TEXT" -gravity center -annotate "$(printf '%+d%+d' $((bx - PW / 2)) $((by - PH / 2)))" "$((i + 1))"
    -gravity none)
done
# Button caps: a dark gap around each, then the cap as the hot spot draws it.
hot=("roundrectangle 0,0 43,69 16,16" "roundrectangle 0,0 43,69 16,16" "roundrectangle 0,0 15,29 7,7"
     "roundrectangle 0,0 29,17 6,6" "roundrectangle 0,0 29,17 6,6" "ellipse 11,11 11,11 0,360"
     "ellipse 11,11 11,11 0,360" "roundrectangle 0,0 21,13 5,5" "roundrectangle 0,0 21,13 5,5"
     "roundrectangle 0,0 21,13 5,5" "roundrectangle 0,0 21,13 5,5")
for i in $(seq 0 10); do
  at $((1740 + i))
  mouse+=(+antialias -fill '#080808' -stroke '#080808' -strokewidth 4 -draw "translate $X,$Y ${hot[$i]}" -stroke none
    -fill "$LIST" -draw "translate $X,$Y ${hot[$i]}" -antialias)
done
# The shell: a top-lit gradient cut to the outline.
convert "$out/tmp_page.png" \( -size 300x300 radial-gradient:'#3C1010'-"$GROUND" \) -geometry +126+224 -compose Lighten -composite \
  \( -size "${PW}x${PH}" xc:black \( -size 200x292 gradient:'#2E2E2E'-"$SHELL" \) -geometry "+$((MX-100))+$((MY-2))" -compose Over -composite \
     \( -size "${PW}x${PH}" xc:black -fill white -draw "$shell" \) -alpha off -compose CopyOpacity -composite \) \
  -geometry +0+0 -compose Over -composite "${mouse[@]}" -type TrueColor "$(bmp 124)"
