#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs brelix in a real terminal inside tmux and types each answer only
# once its prompt is on the screen, as a person would: a prompt left in an
# unflushed buffer makes the test fail. A second run goes through the
# launcher, brelix-terminal, and checks that the Latin-1 umlauts reach a
# UTF-8 screen intact and, where rlwrap is installed, that the left arrow
# key moves within the answer. Between them, a run ends its input with
# Ctrl-D. That run's screen is saved to SCREEN.
# Usage: terminal_test.sh SCREEN LAUNCHER COMMAND...   (COMMAND is the
# program, behind an emulator if any; exits 77, skipped, without tmux or
# luit)
set -euo pipefail
screen_file=$1
launcher=$2
shift 2
program=$*
for tool in tmux luit; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done
export LANG=C.UTF-8 LC_ALL=C.UTF-8
socket=brelix-test-$$
tm() { tmux -u -L "$socket" -f /dev/null "$@"; }
# One server for the whole test, kept when a session closes: a session
# started while the last one's server is still exiting would find no
# server, or a terminal of width 0.
tm start-server \; set-option -g exit-empty off
# The launcher finds the program on the PATH, and rlwrap keeps its history
# in HOME.
tmp=$(mktemp -d)
trap 'tm kill-server 2>/dev/null || true; rm -rf "$tmp"' EXIT
printf '#!/bin/sh\nexec %s "$@"\n' "$program" >"$tmp/brelix"
chmod +x "$tmp/brelix"

screen() { tm capture-pane -p -t dialog -S -; }

# Waits until the last line written reads $1 (tmux drops trailing blanks),
# for 30 s: ample on a loaded machine or under an emulator, and still a
# hang caught.
await() {
  local line
  for _ in $(seq 300); do
    line=$(screen | sed '/^$/d' | tail -n 1)
    [ "$line" = "$1" ] && return 0
    sleep 0.1
  done
  printf 'never on the screen: "%s"\n--- screen:\n' "$1"
  screen
  exit 1
}

answer() {
  await "$1"
  tm send-keys -t dialog "$2" Enter
}

# Entries 1 and 4 with their prompts and answers, then 99. With "edit",
# the first amount is typed as 00, two steps left, then 1: 100 only if the
# arrow keys edit the line.
dialogue() {
  tm new-session -d -s dialog -x 120 -y 60 "sh -c '$1; echo \"[exit \$?]\"; sleep 600'"
  answer "?  :" 1
  if [ "${2-}" = edit ]; then
    await "Wassermenge die im Aquarium verbleiben soll  :"
    tm send-keys -t dialog 00 Left Left 1 Enter
  else
    answer "Wassermenge die im Aquarium verbleiben soll  :" 100
  fi
  answer "Wechselwassermenge                           :" 20
  answer "Temperatur im Aquarium vor dem Wechsel       :" 25
  answer "Temperatur des Wechselwassers                :" 15
  answer "?  :" 4
  answer "Wassermenge im Aquarium                      :" 100
  answer "Temperatur im Aquarium vor dem Wechsel       :" 25
  answer "Temperatur im Aquarium nach dem Wechsel      :" 24
  answer "Temperatur des Wechselwassers                :" 22
  answer "?  :" 99
  await "[exit 0]"
}

# Each prompt with the answer the terminal echoed, and each result line.
expect() {
  grep -qxF -- "$1" <<<"$(screen)" || { printf 'missing line: "%s"\n--- screen:\n' "$1"; screen; exit 1; }
}

dialogue "$program"
expect "?  : 1"
expect "Wassermenge die im Aquarium verbleiben soll  : 100"
expect "Wechselwassermenge                           : 20"
expect "Temperatur im Aquarium vor dem Wechsel       : 25"
expect "Temperatur des Wechselwassers                : 15"
expect "resultierende Temperatur im Aquarium : 23.3333 Grad Celsius"
expect "?  : 4"
expect "Wassermenge im Aquarium                      : 100"
expect "Temperatur im Aquarium nach dem Wechsel      : 24"
expect "Temperatur des Wechselwassers                : 22"
grep -q "tigte Wechselwassermenge : 33.3333 Liter$" <<<"$(screen)" || { echo "missing result of entry 4"; exit 1; }
expect "?  : 99"
tm kill-session -t dialog

# Ctrl-D behind an answer hands the line over; Ctrl-D on its own then ends
# the input. That end holds: at the next prompt the program must not wait
# for a third one.
tm new-session -d -s dialog -x 120 -y 60 "sh -c '$program; echo \"[exit \$?]\"; sleep 600'"
await "?  :"
tm send-keys -t dialog "1 100 20 25 15" C-d
sleep 0.5
tm send-keys -t dialog C-d
await "?  : [exit 0]"
grep -q "resultierende Temperatur im Aquarium : 23.3333 Grad Celsius" <<<"$(screen)" || { echo "missing result"; exit 1; }
tm kill-session -t dialog

# luit always exits 0, so "[exit 0]" says only that the dialogue ended.
edit=
if command -v rlwrap >/dev/null; then edit=edit; fi
dialogue "HOME=$tmp PATH=$tmp:\$PATH $launcher" $edit
screen >"$screen_file"
expect "(2)  zurückgerechnete Ausgangstemperatur (Mischwassertemperatur, Wechselwassertemperatur,"
expect "Wassermenge die im Aquarium verbleiben soll  : 100"
expect "resultierende Temperatur im Aquarium : 23.3333 Grad Celsius"
expect "Benötigte Wechselwassermenge : 33.3333 Liter"
echo "terminal dialogue passed, plain and through the launcher${edit:+, with line editing}; its screen: $screen_file"
