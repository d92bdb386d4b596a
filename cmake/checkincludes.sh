#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source of one views folder includes a views folder its library does not link, or the app.
#   checkincludes.sh FOLDER "USED FOLDERS" FILE...
set -euo pipefail
folder=$1 used=" ${2//;/ } " status=0
shift 2
for file in "$@"; do
    while IFS= read -r included; do
        other=${included#views/}
        other=${other%%/*}
        if [[ $included == app/* ]]; then
            echo "$file: views/$folder includes $included; the views never include the app" >&2
            status=1
        elif [[ $other != "$folder" && $used != *" $other "* ]]; then
            echo "$file: views/$folder includes $included, but links only:$used" >&2
            status=1
        fi
    done < <(sed -n -E 's,^#include "((views|app)/[^"]*)".*,\1,p' "$file")
done
exit $status
