# The profile manager's pictures (sourced by check-art.sh): the page on the outline key with the
# list's well where the page puts the list, the buttons' four frames, the menu's 3 x 4 cells.
size 143 590x440
pixel 143 0 0 004000; pixel 143 589 439 004000   # outside the rounded plate
pixel 143 295 1 960F0F                           # the red rim
pixel 143 40 200 4B4B4B                          # the list's ground under the list
for id in 7031 7032 7033 7034 7035 7036 7037; do size $id 440x32; done
size 128 600x78
pixel 128 30 5 2B2B2B; pixel 128 480 5 1E1E1E    # normal and disabled cells of the first row
