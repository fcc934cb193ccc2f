# The macro editor's pictures (sourced by check-art.sh): the window on the outline key, each
# button strip four frames of its control's size, the toggles at their size, and the kind icons
# 16 cells of 24 x 16 on the key the list masks out.
size 702 600x500
pixel 702 0 0 004000
pixel 702 300 480 1E1E1E
for entry in 2701:90x30 2702:90x30 2703:90x30 2704:80x28 2705:80x28 2706:80x28 2707:80x28 2708:80x28 \
             2709:105x30 2710:105x30 2711:105x30 2712:50x30 2713:50x30 2714:24x12 2715:24x12 2716:105x28 \
             2717:105x28 2718:230x28; do
  id=${entry%%:*} wh=${entry#*:}
  size "$id" "$((${wh%x*} * 4))x${wh#*x}"
done
for id in 2720 2721 2722 2723; do size $id 220x24; done
size 2730 384x16
pixel 2730 0 0 004000
# Every kind from 1 to 15 draws something on its cell.
for k in $(seq 1 15); do
  n=$(convert "$dir/2730.bmp" -crop "24x16+$((k * 24))+0" +repage -fill black -opaque '#004000' -fill white +opaque black \
      -format '%[fx:round(mean*w*h)]' info: 2>/dev/null)
  [ "${n:-0}" -gt 10 ] || { echo "kind icon $k is empty"; fail=1; }
done
