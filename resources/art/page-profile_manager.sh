# The profile manager: its page (143), its buttons and the right-click menu (128). Sourced by
# make-art.sh after main-window.sh; uses their palette and helpers. The places below are the
# ones the page's code uses (app/profile_manager_win32.cpp).
# ids: 143 128
# ids: 7031 7032 7033 7034 7035 7036 7037

PM_W=590; PM_H=440
prompt_base 143 $PM_W $PM_H "Profile management"
label 30 66 13 "$SOFT" "Right-click a profile to edit it, copy it or set it active."
# The list's well: two columns (124 + 383) and the scroll bar (17) at 30,78, 250 high.
convert "$out/tmp_base.png" +antialias -fill "$LIST" -stroke "$EDGE" -draw "rectangle 28,76 555,329" "$out/tmp_base.png"
convert "$out/tmp_base.png" +antialias -fill "$LIT" -draw "rectangle 28,336 555,337" "$out/tmp_base.png"
finish 143

# Buttons, 110 x 32, four frames side by side.
pm_button() { hover_picture "$1" pill_frame 110 32 "$GROUND" "$2" 13; }
pm_button 7031 NEW
pm_button 7032 IMPORT
pm_button 7033 EXPORT
pm_button 7034 DELETE
pm_button 7035 OK
pm_button 7036 CANCEL
pm_button 7037 APPLY

# The menu: one row per command (Rename, Copy, Set Active), 150 x 26, in the four states
# (normal, pressed, hover, disabled) side by side.
pm_menu_rows=()
for pm_text in Rename Copy "Set Active"; do
  pm_cells=()
  for pm_state in 0 1 2 3; do
    state_colours $pm_state
    pm_fill=$PANEL; [ $pm_state = 1 ] && pm_fill=$RED; [ $pm_state = 2 ] && pm_fill=$LIT; [ $pm_state = 3 ] && pm_fill=$GROUND
    convert -size 150x26 "xc:$pm_fill" +antialias -fill "$S_RIM" -draw "rectangle 0,25 149,25" \
      -fill "$S_RIM" -draw "rectangle 8,8 11,17" -antialias -font "$FONT" -pointsize 13 -fill "$S_INK" \
      -gravity west -annotate +20+0 "$pm_text" "$out/tmp_pm_m$pm_state.png"
    pm_cells+=("$out/tmp_pm_m$pm_state.png")
  done
  convert "${pm_cells[@]}" +append "$out/tmp_pm_row${#pm_menu_rows[@]}.png"
  pm_menu_rows+=("$out/tmp_pm_row${#pm_menu_rows[@]}.png")
done
convert "${pm_menu_rows[@]}" -append -type TrueColor "$(bmp 128)"
