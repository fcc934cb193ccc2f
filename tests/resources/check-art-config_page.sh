# The performance page's pictures at their sizes; sourced by check-art.sh. Its page picture lies
# in "pages" beside the display library's picture of the same number, which stays as it is.
size pages/343 720x500
pixel pages/343 0 0 004000       # the outline key in the corner
pixel pages/343 30 470 1E1E1E    # the window ground inside
size 2100 24x220; size 2101 24x220; size 2102 24x16
pixel 2100 0 0 FFFFFF            # vertical channels use white, thumbs the outline key
pixel 2102 0 0 004000
for id in $(seq 2110 2125); do size $id 70x28; done
for id in 2130 2131 2132 2133; do size $id 20x20; done
size 2140 360x30; size 2141 600x30
