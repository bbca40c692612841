#!/bin/bash
# Starts the program under the offscreen platform, lets it run, then asks it to end
# with SIGTERM: it must still be running two seconds after it began to handle SIGTERM
# (a loaded machine may take longer than that to start it), and end with status 0.
set -u
prog="$1"
"$prog" &
pid=$!
# SigCgt in /proc: the signals the process catches; SIGTERM (15) is bit 14.
catturato() {
  local maschera
  maschera=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null) || return 1
  [[ -n "$maschera" ]] && (( (16#$maschera >> 14) & 1 ))
}
for ((i = 0; i < 300; i++)); do
  catturato && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
sleep 2
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid"
  echo "the program ended by itself with status $?"
  exit 1
fi
catturato || echo "the program does not handle SIGTERM after 30 s"
kill -TERM "$pid"
wait "$pid"
rc=$?
echo "status after SIGTERM: $rc"
exit "$rc"
