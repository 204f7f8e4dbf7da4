#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Feeds 100 MB at once, with no line feed until its end, and checks that the
# program reads it in less than 8 MiB of memory and still calculates right:
# a line of garbage at the selection and at each prompt of a calculation,
# which is refused; a number of 100 MB of digits; an exponent of 100 MB.
set -euo pipefail
program=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 100 MB of the character $1.
run() { head -c 100000000 /dev/zero | tr '\0' "$1"; }

# Runs the program on standard input and checks its peak memory, its exit
# status $2 and that it printed the result line $3; $1 names the case.
check() {
  local status=0 rss
  /usr/bin/time -f %M -o "$tmp/rss" "$program" >"$tmp/out" || status=$?
  rss=$(tail -n 1 "$tmp/rss")
  echo "$1: peak $rss KiB, status $status"
  grep -q "$3" "$tmp/out" || { echo "no result line \"$3\""; exit 1; }
  [ "$status" = "$2" ] || { echo "status $status, expected $2"; exit 1; }
  [ "$rss" -lt 8192 ] || { echo "more than 8 MiB"; exit 1; }
}

answers=(1 100 20 25 15)
for at in 0 1 2 3 4; do
  { printf '%s\n' "${answers[@]:0:at}"
    run x
    printf '\n%s\n' "${answers[@]:at}" 99
  } | check "garbage at prompt $at" 1 "23.3333 Grad Celsius"
done

# 99.999... rounds to 100, 1e000...02 is 100.
{ printf '1\n99.'; run 9; printf '\n20 25 15 99\n'; } | check "100 MB of digits" 0 "23.3333 Grad Celsius"
{ printf '1\n1e'; run 0; printf '2\n20 25 15 99\n'; } | check "100 MB of exponent" 0 "23.3333 Grad Celsius"
