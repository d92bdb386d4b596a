#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/deps.sh" --test
"$root/scripts/build.sh" -DMIREL_WERROR=ON
cd "${MIREL_BUILD_DIR:-$root/build}"
ctest --output-on-failure "$@"
