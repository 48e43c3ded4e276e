#!/usr/bin/env bash
# Builds the editor (or another program of the tree) for the scripts that run it
# (screenshots, benchmarks) and prints its path: the release preset, or the build folder
# PWX_BUILD_DIR names. Installs the tools they use.
#
#   scripts/release-editor.sh [target [path-in-build]]   (default pwx36-editor app/pwx36-editor)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${PWX_BUILD_DIR:-$root/build/release}")

"$root/scripts/install-deps.sh" tools >&2
if [[ ! -f $build/CMakeCache.txt ]]; then
  (cd "$root" && cmake --preset release >/dev/null)
fi
target=${1:-pwx36-editor}
cmake --build "$build" --target "$target" >/dev/null
echo "$build/${2:-app/pwx36-editor}"
