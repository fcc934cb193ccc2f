# The LED page: its picture and its controls' pictures. Sourced by make-art.sh after its palette
# and helpers (and after the performance page's script, whose APPLY strip 2140 it shares). The
# controls sit where app/led_page_win32.cpp places them.
# ids: 2150 2151 2152 2153 2154 2155 2156 2157 2158 2159 2160 2161 2162 2163 2164 2165 2166 2167
# ids: 2168 2169 2170 2171 2172 2173 2174 2175 2176 2177 2180 2181 2182 2183 2184 2185 2186 2187
# ids: 2190 2191 2192 2193
# The page picture 335 is drawn into "$out/pages": the display library uses that number too.
mkdir -p "$out/pages"

# Page 335, 600 x 420: heading, the mouse seen from above with its three light zones, the
# colour column and the ON/OFF pair.
prompt_base 335 600 420 "LIGHT OPTION"
convert "$out/tmp_base.png" +antialias -fill "$PANEL" -stroke "$LIST" -strokewidth 2 \
  -draw "roundrectangle 70,66 250,392 78,96" -stroke "$LIST" -strokewidth 2 \
  -draw "line 160,70 160,190" -draw "line 74,190 246,190" -stroke none \
  -fill "$GROUND" -draw "roundrectangle 146,106 174,158 10,10" \
  -fill "$GROUND" -draw "roundrectangle 78,280 114,356 10,10" \
  -fill none -stroke "$LIST" -draw "circle 160,250 160,226" "$out/tmp_base.png"
label 190 137 12 "$SOFT" "ZONE 1"
label 190 255 12 "$SOFT" "ZONE 2"
label 120 323 12 "$SOFT" "ZONE 3"
label 330 68 13 "$SOFT" "COLOR"
label 474 92 13 "$SOFT" "LED"
convert "$out/tmp_base.png" -type TrueColor "BMP3:$out/pages/335.bmp"

# Colour buttons 120 x 28 (normal, pressed, hover, disabled), top to bottom as on the page.
names=(Red Purple Blue Cygon White Yellow Green)
chips=('#FF0000' '#FF00FF' '#0000FF' '#00FFFF' '#FFFFFF' '#FFFF00' '#00FF00')
for b in 0 1 2 3 4 5 6; do
  for s in 0 1 2 3; do
    case $s in
      0) fill=$PANEL; rim=$RED; ink=$TEXT; chip=${chips[$b]} ;;
      1) fill=$RED; rim=$HOT; ink=$TEXT; chip=${chips[$b]} ;;
      2) fill=$PANEL; rim=$HOT; ink=$TEXT; chip=${chips[$b]} ;;
      3) fill=$GROUND; rim=$LIST; ink=$DIM; chip=$LIST ;;
    esac
    convert -size 120x28 "xc:$GROUND" +antialias -fill "$rim" -draw "roundrectangle 0,0 119,27 6,6" \
      -fill "$fill" -draw "roundrectangle 2,2 117,25 5,5" -fill "$chip" -draw "roundrectangle 8,6 32,21 3,3" \
      -antialias -font "$BOLD" -pointsize 12 -fill "$ink" -annotate +42+19 "${names[$b]}" \
      -type TrueColor "$(bmp $((2150 + 4 * b + s)))"
  done
done

# ON (2180-2183) and OFF (2184-2187), 90 x 28; the pressed frame shows the state in force.
onoff() {  # FIRST TEXT
  local s fill rim ink
  for s in 0 1 2 3; do
    case $s in
      0) fill=$PANEL; rim=$RED; ink=$SOFT ;;
      1) fill=$LIT; rim=$HOT; ink=$TEXT ;;
      2) fill=$PANEL; rim=$HOT; ink=$TEXT ;;
      3) fill=$GROUND; rim=$LIST; ink=$DIM ;;
    esac
    convert -size 90x28 "xc:$GROUND" +antialias -fill "$rim" -draw "roundrectangle 0,0 89,27 6,6" \
      -fill "$fill" -draw "roundrectangle 2,2 87,25 5,5" -antialias -font "$BOLD" -pointsize 13 -fill "$ink" \
      -gravity center -annotate +0+0 "$2" -type TrueColor "$(bmp $(($1 + s)))"
  done
}
onoff 2180 ON
onoff 2184 OFF

# Zone marker 30 x 30: a ring around the zone's light (normal, chosen, hover) and its mask, a
# black ring whose middle lies outside the button so the light painted under it shows.
convert -size 30x30 "xc:$GROUND" +antialias -fill none -stroke "$SOFT" -strokewidth 3 -draw "circle 15,15 15,3" \
  -type TrueColor "$(bmp 2190)"
convert -size 30x30 "xc:$GROUND" +antialias -fill none -stroke "$HOT" -strokewidth 4 -draw "circle 15,15 15,3" \
  -type TrueColor "$(bmp 2191)"
convert -size 30x30 "xc:$GROUND" +antialias -fill none -stroke "$LIT" -strokewidth 3 -draw "circle 15,15 15,3" \
  -type TrueColor "$(bmp 2192)"
convert -size 30x30 xc:white +antialias -fill black -draw "circle 15,15 15,0" -fill white -draw "circle 15,15 15,4" \
  -type TrueColor "$(bmp 2193)"
