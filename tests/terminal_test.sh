#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs brelix in a real terminal inside tmux and types each answer only
# once its prompt is on the screen, as a person would: a prompt left in an
# unflushed buffer makes the test fail. A second run goes through luit and
# checks that the Latin-1 umlauts reach a UTF-8 screen intact.
# Usage: terminal_test.sh COMMAND...   (the program, behind an emulator if
# any; exits 77, skipped, without tmux or luit)
set -euo pipefail
program=$*
for tool in tmux luit; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done
export LANG=C.UTF-8 LC_ALL=C.UTF-8
socket=brelix-test-$$
tm() { tmux -u -L "$socket" -f /dev/null "$@"; }
trap 'tm kill-server 2>/dev/null || true' EXIT

screen() { tm capture-pane -p -t dialog -S -; }

# Waits until the last line written reads $1 (tmux drops trailing blanks).
await() {
  local line
  for _ in $(seq 100); do
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

# Entries 1 and 4 with their prompts and answers, then 99.
dialogue() {
  tm new-session -d -s dialog -x 120 -y 60 "sh -c '$1; echo \"[exit \$?]\"; sleep 60'"
  answer "?  :" 1
  answer "Wassermenge die im Aquarium verbleiben soll  :" 100
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
  screen | grep -qxF -- "$1" || { printf 'missing line: "%s"\n--- screen:\n' "$1"; screen; exit 1; }
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
screen | grep -q "tigte Wechselwassermenge : 33.3333 Liter$" || { echo "missing result of entry 4"; exit 1; }
expect "?  : 99"
tm kill-session -t dialog

dialogue "luit -encoding ISO-8859-1 -- $program"
expect "(2)  zurückgerechnete Ausgangstemperatur (Mischwassertemperatur, Wechselwassertemperatur,"
expect "Benötigte Wechselwassermenge : 33.3333 Liter"
echo "terminal dialogue passed, plain and through luit"
