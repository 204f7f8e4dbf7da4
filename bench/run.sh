#!/usr/bin/env bash
# Load benchmark: pipes scripted calculations, spread over the four menu
# entries, through the release build and reports calculations per second
# and peak resident memory. Usage: bench/run.sh [calculations]   (100000)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-100000}
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release -j2 --target brelix >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Entry, then four answers per calculation, as a keeper would type them.
awk -v n="$count" 'BEGIN {
  srand(1)
  for (i = 0; i < n; i++) {
    printf "%d\n%d\n%d\n%.1f\n%.1f\n", i % 4 + 1, 50 + int(rand() * 400),
           5 + int(rand() * 80), 18 + rand() * 12, 10 + rand() * 20
  }
  print 99
}' >"$tmp/input"

start=$(date +%s.%N)
cat "$tmp/input" | /usr/bin/time -f %M -o "$tmp/rss" build-release/brelix >/dev/null
end=$(date +%s.%N)
awk -v n="$count" -v s="$start" -v e="$end" -v rss="$(tail -n 1 "$tmp/rss")" 'BEGIN {
  printf "%d calculations in %.3f s: %.0f per second, peak resident memory %d KiB\n",
         n, e - s, n / (e - s), rss
}'
