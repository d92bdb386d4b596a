#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the headers each object of a library was compiled from, as the compiler listed them, against the
# library's rules (written by cmake/IncludeRules.cmake); fails naming the source, the header and the rule.
#   checkincludes.sh RULES BUILD_DIR NINJA|- OBJECT...
set -euo pipefail
rules=$1 build=$2 ninja=$3
shift 3

# The compiler's lists as "object: …" lines, each followed by the object's source and then its headers,
# indented: Ninja keeps them in its log, the Makefile generators beside each object.
dependencies() {
    if [[ $ninja != - ]]; then
        # Read from a copy: the running build appends to its log meanwhile, and a reader that meets a record
        # half written, or finds the log worth compacting, rewrites the file it reads.
        local scratch objects=()
        scratch=$(mktemp -d)
        trap 'rm -rf "$scratch"' EXIT
        ln -s "$build/build.ninja" "$build/CMakeFiles" "$scratch/"
        cp "$build/.ninja_deps" "$scratch/"
        for object in "$@"; do
            objects+=("${object#"$build"/}")
        done
        "$ninja" -C "$scratch" -t deps "${objects[@]}"
    else
        for object in "$@"; do
            echo "$object:"
            sed -e 's/\\$//' -e 's/^[^:]*: *//' "$object.d" | tr -s ' ' '\n' | sed -n 's/^./    &/p'
        done
    fi
}

dependencies "$@" | awk -v build="$build" '
function normal(path,    parts, kept, count, total, i, out) {
    if (path !~ /^\//)
        path = build "/" path
    count = 0
    total = split(path, parts, "/")
    for (i = 1; i <= total; i++) {
        if (parts[i] == "" || parts[i] == ".")
            continue
        if (parts[i] == "..") {
            if (count > 0)
                count--
            continue
        }
        kept[++count] = parts[i]
    }
    out = ""
    for (i = 1; i <= count; i++)
        out = out "/" kept[i]
    return out
}
function shown(path) {
    if (index(path, root "/") == 1)
        return "src/" substr(path, length(root) + 2)
    return index(path, build "/") == 1 ? substr(path, length(build) + 2) : path
}
function report(header, rule, what,    key) {
    key = source SUBSEP what
    if (key in reported)
        return
    reported[key] = 1
    printf "%s: includes %s, but %s\n", shown(source), header, rule > "/dev/stderr"
    failed = 1
}
function check(path,    relative, parts, used, module) {
    if (index(path, root "/") == 1) {
        relative = substr(path, length(root) + 2)
        if (!(path in files)) {
            report("src/" relative, target " includes only its own headers and those of the libraries it links (" links ")", relative)
            return
        }
        if (folder in uses && relative ~ /^app\/[^\/]+\//) {
            split(relative, parts, "/")
            used = "app/" parts[2]
            if (used != folder && index(uses[folder], " " used " ") == 0)
                report("src/" relative, folder (uses[folder] ~ /^ *$/ ? " includes no folder of the app but its own and the top-level files" : " uses only" uses[folder] "and the top-level files of the app"), relative)
        }
    } else if (index(path, qtroot "/Qt") == 1) {
        relative = substr(path, length(qtroot) + 2)
        module = substr(relative, 3)
        sub(/\/.*/, "", module)
        # One line per module: the first of its headers stands for the rest.
        if (!(module in qt))
            report("<" relative ">", target " links only Qt " qtnames, "Qt" module)
    }
}
FNR == NR {
    if ($1 == "target") target = $2
    else if ($1 == "source-root") root = substr($0, 13)
    else if ($1 == "qt-root") qtroot = substr($0, 9)
    else if ($1 == "links") links = substr($0, 7)
    else if ($1 == "qt") {
        qtnames = substr($0, 4)
        for (i = 2; i <= NF; i++)
            qt[$i] = 1
    } else if ($1 == "file") files[normal(substr($0, 6))] = 1
    else if ($1 == "folder") {
        rule = $2
        $1 = ""
        $2 = ""
        uses[rule] = " " substr($0, 3) " "
    }
    next
}
/^[^ ]/ {
    # "deps not found": the check cannot see what the object was compiled from.
    if ($0 ~ /deps not found/) {
        printf "%s: no list of the headers it was compiled from; build it again\n", $1 > "/dev/stderr"
        failed = 1
    }
    source = ""
    next
}
/^    / {
    path = normal(substr($0, 5))
    if (source == "") {
        source = path
        folder = ""
        if (index(source, root "/") == 1) {
            folder = substr(source, length(root) + 2)
            sub(/\/[^\/]*$/, "", folder)
        }
        next
    }
    check(path)
}
END { exit failed }
' "$rules" -
