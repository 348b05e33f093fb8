#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UBSan, in
# build-fuzz/) and runs each for a while.
#   tests/fuzz/run.sh [SECONDS] [TARGET ...]     every target, 60 s each
# Inputs that failed are kept in build-fuzz/findings/TARGET/; the corpus the
# fuzzer grew, in build-fuzz/corpus/TARGET/, is used again by the next run.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(engine faults contours volumes cuts number_files dxf host_text)

command -v clang++ >/dev/null || { echo "clang++ is needed (apt-get install clang)"; exit 1; }
build=build-fuzz
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link"
CXX=clang++ cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/%/_fuzz}"

# Seeds: the suite's own small files of each kind.
seed() {  # seed TARGET PREFIX-BYTE-OR-EMPTY FILE...
  local dir="$build/corpus/$1" prefix="$2"
  shift 2
  mkdir -p "$dir"
  for f in "$@"; do
    [ "$(stat -c %s "$f")" -le 16384 ] || continue
    { [ -n "$prefix" ] && printf "$prefix"; cat "$f"; } > "$dir/seed-$(echo "$f" | md5sum | cut -c1-12)"
  done
}
mapfile -t numberFiles < <(git ls-files '*.tin' '*.ttin' '*.exd' '*.pxs' '*.asc' '*.dat' '*.pfl')
seed number_files "" "${numberFiles[@]}"
mapfile -t drawings < <(git ls-files '*.dxf')
seed dxf "" "${drawings[@]}"
mapfile -t lispFiles < <(git ls-files 'suite/*.lsp' 'tests/*.lsp')
seed host_text '\000' "${lispFiles[@]}"
seed host_text '\001' suite/dtm.dcl
mapfile -t registryFiles < <(git ls-files '*.reg')
seed host_text '\002' "${registryFiles[@]}"

export ASAN_OPTIONS=detect_leaks=0
failed=()
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t" "$build/findings/$t"
  echo "== $t ($seconds s)"
  if ! "$build/${t}_fuzz" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -max_len=8192 \
       -artifact_prefix="$build/findings/$t/" "$build/corpus/$t" > "$build/$t.log" 2>&1; then
    failed+=("$t")
    grep -m1 -E "fuzz property failed|ERROR: |runtime error" "$build/$t.log" || true
  fi
  tail -n 1 "$build/$t.log" | grep -v '^$' || true
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]} (inputs in $build/findings/, logs in $build/*.log)"
  exit 1
fi
echo "every target ran clean"
