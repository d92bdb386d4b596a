#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The include check on hand-made dependency lists, as the Makefile generators leave them: what the compiler
# read counts however the directive was written, and each rule fails with the source and the header.
#   checkincludes_test.sh CHECKINCLUDES
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
src=$tree/src qt=$tree/qt
cat > "$tree/rules" <<RULES
target mirel_model
source-root $src
qt-root $qt
links mirel_model
qt Core
file $src/model/todostore.cpp
file $src/model/todostore.h
file $src/app/day/dailyclearing.cpp
file $src/app/x11/x11platform.h
folder app/day 
RULES
status=0

# expect NAME "PASS"|"FAIL: text the message holds" SOURCE HEADER...
expect() {
    local name=$1 outcome=$2 source=$3 output
    shift 3
    printf '%s.o: %s %s\n' "$tree/$name" "$source" "$*" > "$tree/$name.o.d"
    if output=$("$check" "$tree/rules" "$tree" - "$tree/$name.o" 2>&1); then
        [[ $outcome == PASS ]] && return
        echo "$name: passed, but should fail with \"${outcome#FAIL: }\""
    else
        [[ $outcome == FAIL:* && $output == *"${outcome#FAIL: }"* ]] && return
        echo "$name: $output"
    fi
    status=1
}

expect own PASS "$src/model/todostore.cpp" "$src/model/../model/todostore.h" "$qt/QtCore/qobject.h" /usr/include/c++/12/memory
expect relative "FAIL: includes src/views/kit/goalrow.h" "$src/model/todostore.cpp" "$src/model/../views/kit/./goalrow.h"
# An angle-bracket include reaches the same file through the include path.
expect unlinked "FAIL: includes src/views/list/goallist.h, but mirel_model includes only" "$src/model/todostore.cpp" \
    "$src/views/list/goallist.h"
expect qt "FAIL: includes <QtNetwork/qlocalsocket.h>, but mirel_model links only Qt Core" "$src/model/todostore.cpp" \
    "$qt/QtNetwork/qlocalsocket.h"
expect folder "FAIL: but app/day includes no folder of the app but its own" "$src/app/day/dailyclearing.cpp" \
    "$src/app/x11/x11platform.h"
exit "$status"
