#!/bin/bash
# Keeps the include lines to the layer order: a file may include only from its own folder and the
# folders listed for it. Prints every upward include and fails on any.
cd "$(dirname "$0")/.." || exit 2
declare -A may=(
  [platform]="platform"
  [ipc]="platform ipc"
  [device]="platform device"
  [store]="platform ipc store"
  [macro]="platform ipc store device macro"
  [app]="platform ipc store device macro app"
  [osd]="platform ipc store device osd"
  [hook]="platform ipc store hook"
  [monitor]="platform ipc store device monitor"
)
# Profile files carry device bytes: the one part of store/ that stands above the device link.
declare -A file_may=(
  [store/profile_file.h]="device"
  [store/profile_file.cpp]="device"
)
bad=0
for dir in "${!may[@]}"; do
  [ -d "$dir" ] || continue
  while IFS= read -r -d '' f; do
    while IFS= read -r target; do
      top=${target%%/*}
      [ "$top" = "$target" ] && continue
      ok=0
      for allowed in ${may[$dir]} ${file_may[$f]:-}; do
        [ "$top" = "$allowed" ] && ok=1
      done
      if [ $ok = 0 ] && [ -d "$top" ]; then
        echo "upward include: $f includes \"$target\""
        bad=1
      fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$f")
  done < <(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done
[ $bad = 0 ] && echo "layers: no upward include"
exit $bad
