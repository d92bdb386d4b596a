#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source, script and build file names its licence in its first lines, so a file copied out of the tree
# still says under which terms it may be used.
set -euo pipefail
cd "$1"
tag='SPDX-License-Identifier: GPL-3.0-or-later'
missing=0
while IFS= read -r file; do
    if ! head -n 3 -- "$file" | grep -qF "$tag"; then
        echo "no licence line: $file"
        missing=1
    fi
done < <(git ls-files -- '*.cpp' '*.h' '*.py' '*.sh' '*.cmake' '*CMakeLists.txt' '.ci/run' 'scripts/*' \
    'data/*.in' 'data/*.desktop' 'tests/e2e/i3-config' 'tests/e2e/*.xml')
[ -f LICENSE ] || { echo "no LICENSE"; missing=1; }
exit "$missing"
