#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers with clang and runs each one briefly.
#
# Usage: scripts/fuzz.sh [seconds-per-target]      (default 5, or $PWX_FUZZ_SECONDS)
#
# The build goes to build/fuzz. Each target starts from its seed corpus in
# fuzz/corpus/<target>/ (only read, never added to) and works in a scratch folder. A crash,
# sanitizer report or failed check stops that target, keeps the input under
# build/fuzz/artifacts/ and makes the script exit non-zero. Without clang++ it prints a
# note and exits 0, so it can run on any machine.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/fuzz"
seconds=${1:-${PWX_FUZZ_SECONDS:-5}}
targets=(fuzz_playlist fuzz_rtu_line fuzz_volume fuzz_name_map fuzz_clip_probe fuzz_intake_decode
         fuzz_text_form)

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ not found, fuzz targets skipped"
    exit 0
fi

generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" "${generator[@]}" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPWX_FUZZ=ON -DPWX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

artifacts="$build/artifacts"
# Leaks of system libraries the editor cannot mend are listed, with reasons, in the file.
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan-suppressions.txt:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failed=()
for target in "${targets[@]}"; do
    mkdir -p "$scratch/$target"
    log="$build/$target.log"
    # The name map reader must cope with lines longer than any path (4096 bytes), so its
    # inputs may grow well past libFuzzer's default length.
    options=()
    [ "$target" = fuzz_name_map ] && options=(-max_len=20000)
    echo "fuzz: $target for ${seconds}s"
    if "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "${options[@]}" \
        -artifact_prefix="$artifacts/$target-" \
        "$scratch/$target" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
        runs=$(grep -Eo 'Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' || echo "?")
        echo "fuzz: $target: $runs executions, no finding"
    else
        echo "fuzz: $target: FINDING (see $log and $artifacts/)"
        tail -n 30 "$log"
        failed+=("$target")
    fi
done

if ((${#failed[@]})); then
    echo "fuzz: findings in ${failed[*]}"
    exit 1
fi
echo "fuzz: all ${#targets[@]} targets ran clean"
