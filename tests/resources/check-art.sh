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
[ -s "$dir/800.ico" ] || { echo "no window icon"; fail=1; }
[ $fail = 0 ] && echo "artwork: all pictures as drawn"
exit $fail
