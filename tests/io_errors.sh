#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the program on broken standard streams, real ones: output to a full
# device or closed, input a directory or closed, and a pipe whose reader is
# gone while SIGPIPE is ignored. Each run must end with status 2 and one
# line on standard error naming the failure; thirty seconds are ample even
# for a loaded machine or an emulator, and still catch a hang. An ordinary
# run must end with status 0 and leave standard error empty.
# Usage: io_errors.sh COMMAND...   (the program, behind an emulator if any)
set -uo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dialogue='1 100 20 25 15 99'
failed=0

# Checks the run just made against the status and the line on standard
# error it should have given (none where empty).
expect() {
  local status err lines=0
  status=$(<"$tmp/status")
  err=$(<"$tmp/err")
  [ -z "$3" ] || lines=1
  if [ "$status" = "$2" ] && [ "$err" = "$3" ] && [ "$(wc -l <"$tmp/err")" -eq "$lines" ]; then
    echo "ok: $1"
  else
    printf 'FAILED: %s: status %s, expected %s; standard error:\n%s\n' "$1" "$status" "$2" "$err"
    failed=1
  fi
}

timeout 30 "$@" <<<"$dialogue" >/dev/full 2>"$tmp/err"
echo $? >"$tmp/status"
expect "output on /dev/full" 2 "brelix: Schreibfehler: No space left on device"

timeout 30 "$@" <<<"$dialogue" >&- 2>"$tmp/err"
echo $? >"$tmp/status"
expect "output closed" 2 "brelix: Schreibfehler: Bad file descriptor"

timeout 30 "$@" </ >/dev/null 2>"$tmp/err"
echo $? >"$tmp/status"
expect "input a directory" 2 "brelix: Lesefehler: Is a directory"

timeout 30 "$@" <&- >/dev/null 2>"$tmp/err"
echo $? >"$tmp/status"
expect "input closed" 2 "brelix: Lesefehler: Bad file descriptor"

(
  trap '' PIPE
  yes 1 2>/dev/null | timeout 30 "$@" 2>"$tmp/err" | head -c 100 >/dev/null
  echo "${PIPESTATUS[1]}" >"$tmp/status"
)
expect "reader gone, SIGPIPE ignored" 2 "brelix: Schreibfehler: Broken pipe"

timeout 30 "$@" <<<"$dialogue" >/dev/null 2>"$tmp/err"
echo $? >"$tmp/status"
expect "ordinary run" 0 ""

exit "$failed"
