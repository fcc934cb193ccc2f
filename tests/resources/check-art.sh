#!/bin/bash
# The drawn pictures have their sizes, frame layouts and key colours.
set -u
dir=${1:?usage: check-art.sh ARTDIR}
fail=0
size() {  # ID WxH
  local got
  got=$(identify -format '%wx%h' "$dir/$1.bmp" 2>/dev/null)
  [ "$got" = "$2" ] || { echo "picture $1: $got, wanted $2"; fail=1; }
}
pixel() {  # ID X Y HEX
  local got
  got=$(convert "$dir/$1.bmp" -format "%[hex:p{$2,$3}]" info: 2>/dev/null)
  [ "${got:0:6}" = "$4" ] || { echo "picture $1 at $2,$3: $got, wanted $4"; fail=1; }
}
for id in 405 406 407 408 409 410 411 412 413 414 415 416 417 418 419 420; do
  size $id 146x81
  pixel $id 0 0 00FF00        # the popup key outside the rounded plate
done
for id in 439 440 441 442 443; do size $id 776x53; done
for id in 113 115 125 248 251 287 353 447 448 469 470 474; do
  pixel $id 0 0 004000        # the outline key in the corner
  pixel $id 10 200 1E1E1E     # the window ground inside
done
size 274 1x18; size 275 4x18; size 276 4x18; size 283 17x25
size 1900 360x30; size 1912 20x24
pixel 1912 0 0 004000         # slider thumbs use the outline key
pixel 1910 0 0 FFFFFF         # slider channels use white
for i in $(seq 0 10); do
  m=$((662 + i)); n=$((640 + i))
  [ "$(identify -format '%wx%h' "$dir/$m.bmp")" = "$(identify -format '%wx%h' "$dir/$n.bmp")" ] ||
    { echo "hot spot $i: mask and picture differ in size"; fail=1; }
done
# The display library's pictures: exact sizes, the OSD key in the corner of every shape, tiles
# without a key pixel (a hole in a digit), and shape edges in one rim colour (no blend with the key).
osd_edge_colours() {  # ID: the colours of the shape pixels that touch the key
  convert "$dir/$1.bmp" \( +clone -fill white -opaque '#404040' -fill black +opaque white -morphology Dilate Square:1 \) \
    \( -clone 0 -fill white -opaque '#404040' -fill black +opaque white \) \( -clone 1 -clone 2 -compose minus_src -composite \) \
    -delete 1,2 -alpha off -compose CopyOpacity -composite -format %c histogram:info:- 2>/dev/null |
    awk '$0 !~ /,0\)/ { print $3 }' | sort -u | tr '\n' ' '
}
for id in 300 301 302 303 304; do size $id 100x40; done
for id in 316 317 318 319; do size $id 262x81; done
for id in 341 342 343 344; do size $id 308x93; done
for id in 326 327 328 329; do size $id 209x101; done
size 320 59x55; size 321 59x55; size 322 259x56; size 323 235x56; size 324 142x36; size 325 178x36
for id in 300 301 302 303 304 316 317 318 319 320 321 322 323 324 325 326 327 328 329 341 342 343 344; do
  pixel $id 0 0 404040
  edges=$(osd_edge_colours $id)
  [ "$edges" = "#DC1E1EFF " ] || { echo "picture $id: edge colours against the key: $edges"; fail=1; }
done
for id in $(seq 305 315) $(seq 330 340); do
  if [ "$id" -le 315 ]; then size $id 32x30; else size $id 24x22; fi
  holes=$(convert "$dir/$id.bmp" -fill white -opaque '#404040' -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:)
  [ "$holes" = 0 ] || { echo "digit tile $id: $holes key pixels"; fail=1; }
  pixel $id 0 0 960F0F        # the plate's red, so a tile sits on it without a seam
done
# The main window: warning plate and full page on the outline key; every control of the layout
# sits on its picture, and its size is its picture's frame (hover buttons: four frames side by
# side) or its mask's (skinned buttons, whose pictures match the mask).
size 121 556x164; size 124 930x768
for at in "121 0 0" "121 555 163" "124 0 0" "124 929 0" "124 0 767" "124 929 767"; do
  pixel $at 004000
done
pixel 121 278 1 960F0F; pixel 124 465 1 960F0F   # the red rim
pixel 124 320 20 161616                          # the title strip
pixel 124 465 700 1E1E1E                         # the ground below the panel
for id in 121 124; do  # the pixels touching the key are all rim red: no blend, no fringe
  edges=$(convert "$dir/$id.bmp" \( +clone -fill white -opaque '#004000' -fill black +opaque white \) \
    \( +clone -morphology Dilate Square:1 \) \( -clone 2 -clone 1 -compose minus_src -composite \) -delete 1,2 \
    -alpha off -compose CopyOpacity -composite -format %c histogram:info:- 2>/dev/null | awk '$0 !~ /,0\)/ { print $3 }')
  [ "$edges" = "#960F0FFF" ] || { echo "picture $id: colours against the key: $edges"; fail=1; }
done
layout="$(dirname "$0")/../../resources/art/main-layout.txt"
declare -A kind=(
  [1005]="hover 446" [1001]="hover 110" [1006]="hover 134" [1007]="hover 135" [1008]="hover 136"
  [1013]="hover 118" [1014]="hover 119" [1015]="hover 120" [1115]="hover 139" [1116]="hover 140"
  [1117]="hover 141" [1118]="hover 142" [1119]="hover 182 183" [1120]="hover 184 185"
  [1787]="hover 597" [1788]="hover 598" [1789]="hover 599" [1121]="hover 439 440 441 442 443"
  [1009]="skin 600 601 602" [1011]="skin 603 604 605" [1012]="skin 606 607 608" [1010]="skin 609 610 611"
  [1200]="skin 612 613 614 615" [1201]="skin 616 617 618 619 620 621" [1202]="skin 622 623 624 625 626 627"
  [1203]="skin 628 629 630 631 632 633" [1204]="skin 634 635 636 637")
for i in $(seq 0 10); do kind[$((1740 + i))]="skin $((640 + i)) $((651 + i)) $((662 + i))"; done
declare -A dims corners
while read -r n d; do dims[$n]=$d; done < <(identify -format '%t %wx%h\n' "$dir"/*.bmp 2>/dev/null)
seen=0
while read -r id x y w h; do
  [ -n "${kind[$id]:-}" ] || { echo "layout: unknown control $id"; fail=1; continue; }
  seen=$((seen + 1))
  set -- ${kind[$id]}
  form=$1; shift
  for pic in "$@"; do
    want="${w}x$h"; [ "$form" = hover ] && want="$((w * 4))x$h"
    [ "${dims[$pic]:-}" = "$want" ] || { echo "control $id: picture $pic is ${dims[$pic]:-missing}, wanted $want"; fail=1; }
  done
  page=124; [ "$id" = 1005 ] && page=121
  corners[$page]+="$id:$x,$y $id:$((x + w - 1)),$y $id:$x,$((y + h - 1)) $id:$((x + w - 1)),$((y + h - 1)) "
done <"$layout"
# Each control's corners lie on its page and not on the key (one read per page).
for page in 121 124; do
  spots=(${corners[$page]}) format=""
  for spot in "${spots[@]}"; do format+="%[hex:p{${spot#*:}}] "; done
  read -r -a got < <(convert "$dir/$page.bmp" -format "$format" info: 2>/dev/null)
  for k in "${!spots[@]}"; do
    [ -n "${got[$k]:-}" ] && [ "${got[$k]:0:6}" != 004000 ] || { echo "control ${spots[$k]%%:*}: corner ${spots[$k]#*:} off picture $page"; fail=1; }
  done
done
[ $seen = ${#kind[@]} ] || { echo "layout: $seen of ${#kind[@]} controls placed"; fail=1; }
[ -s "$dir/800.ico" ] || { echo "no window icon"; fail=1; }
# Each page's checks, beside this script (they set fail and use size and pixel).
for page_check in "$(dirname "${BASH_SOURCE[0]}")"/check-art-*.sh; do
  [ -e "$page_check" ] && . "$page_check"
done
[ $fail = 0 ] && echo "artwork: all pictures as drawn"
exit $fail
