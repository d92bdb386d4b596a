#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source of one folder of a layer (views or app) includes a folder of that layer it does not use:
# the views never include the app, and any folder of the app may include the app's own top-level files.
#   checkincludes.sh LAYER FOLDER "USED FOLDERS" FILE...
set -euo pipefail
layer=$1 folder=$2 used=" ${3//;/ } " status=0
shift 3
for file in "$@"; do
    while IFS= read -r included; do
        rest=${included#"$layer"/}
        other=${rest%%/*}
        if [[ $layer == views && $included == app/* ]]; then
            echo "$file: views/$folder includes $included; the views never include the app" >&2
            status=1
        elif [[ $included == "$layer"/* && $rest == */* && $other != "$folder" && $used != *" $other "* ]]; then
            names=$(echo $used)
            echo "$file: $layer/$folder includes $included, but uses ${names:-no other folder of the $layer}" >&2
            status=1
        fi
    done < <(sed -n -E 's,^#include "((views|app)/[^"]*)".*,\1,p' "$file")
done
exit $status
