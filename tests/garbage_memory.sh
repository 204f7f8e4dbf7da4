#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Feeds a 100 MB line of garbage, with no line feed until its end, at the
# selection and at each prompt of a calculation. The program must discard
# it in less than 8 MiB of memory and then finish the calculation.
set -euo pipefail
program=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
answers=(1 100 20 25 15)
for at in 0 1 2 3 4; do
  { printf '%s\n' "${answers[@]:0:at}"
    head -c 100000000 /dev/zero | tr '\0' 'x'
    printf '\n%s\n' "${answers[@]:at}" 99
  } | /usr/bin/time -f %M -o "$tmp/rss" "$program" >"$tmp/out"
  rss=$(tail -n 1 "$tmp/rss")
  echo "garbage at prompt $at: peak $rss KiB"
  grep -q "23.3333 Grad Celsius" "$tmp/out" || { echo "the calculation did not finish"; exit 1; }
  [ "$rss" -lt 8192 ] || { echo "more than 8 MiB"; exit 1; }
done
