# The LED page's pictures at their sizes; sourced by check-art.sh. Its page picture lies in
# "pages" beside the display library's picture of the same number, which stays as it is.
size pages/335 600x420
pixel pages/335 0 0 004000       # the outline key in the corner
pixel pages/335 300 400 1E1E1E   # the window ground inside
for id in $(seq 2150 2177); do size $id 120x28; done
for id in $(seq 2180 2187); do size $id 90x28; done
for id in 2190 2191 2192 2193; do size $id 30x30; done
pixel 2193 15 15 FFFFFF          # the zone mask's middle lies outside the button
pixel 2193 15 2 000000
