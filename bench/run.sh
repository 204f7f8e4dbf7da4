#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Load benchmark: pipes scripted calculations, spread over the four menu
# entries, through the release build and through bench/baseline.cpp, a plain
# iostream program that writes the same bytes. Reports Brelix's time as a
# ratio to the baseline (the median of alternating runs), calculations per
# second and peak resident memory, at the full count and at a tenth of it.
# Usage: bench/run.sh [calculations [runs]]   (100000, 7)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-100000}
runs=${2:-7}
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release -j2 --target brelix brelix_baseline >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Entry, then four answers per calculation, as a keeper would type them.
script() {
  awk -v n="$1" 'BEGIN {
    srand(1)
    for (i = 0; i < n; i++) {
      printf "%d\n%d\n%d\n%.1f\n%.1f\n", i % 4 + 1, 50 + int(rand() * 400),
             5 + int(rand() * 80), 18 + rand() * 12, 10 + rand() * 20
    }
    print 99
  }'
}
script "$count" >"$tmp/input"
script "$((count / 10))" >"$tmp/input10"

build-release/brelix <"$tmp/input" >"$tmp/brelix.out"
build-release/brelix_baseline <"$tmp/input" >"$tmp/baseline.out"
cmp "$tmp/brelix.out" "$tmp/baseline.out" || { echo "the baseline writes other bytes"; exit 1; }

seconds() {
  local start end
  start=$(date +%s%N)
  "$1" <"$tmp/input" >/dev/null
  end=$(date +%s%N)
  echo "$(((end - start) / 1000))"
}
for _ in $(seq "$runs"); do
  seconds build-release/brelix >>"$tmp/brelix.us"
  seconds build-release/brelix_baseline >>"$tmp/baseline.us"
done
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
brelix=$(median "$tmp/brelix.us")
baseline=$(median "$tmp/baseline.us")

rss() {
  /usr/bin/time -f %M -o "$tmp/rss" build-release/brelix <"$1" >/dev/null
  tail -n 1 "$tmp/rss"
}
awk -v n="$count" -v b="$brelix" -v y="$baseline" -v runs="$runs" -v rss="$(rss "$tmp/input")" \
    -v rss10="$(rss "$tmp/input10")" 'BEGIN {
  printf "%d calculations, median of %d alternating runs: brelix %.3f s, baseline %.3f s, ratio %.3f\n",
         n, runs, b / 1e6, y / 1e6, b / y
  printf "%.0f calculations per second; peak resident memory %d KiB (%d KiB for a tenth as many)\n",
         n / (b / 1e6), rss, rss10
}'
