#!/bin/bash
# Starts the program under the offscreen platform, lets it run, then asks it to end
# with SIGTERM: it must still be running after two seconds and end with status 0.
set -u
prog="$1"
"$prog" &
pid=$!
sleep 2
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid"
  echo "the program ended by itself with status $?"
  exit 1
fi
kill -TERM "$pid"
wait "$pid"
rc=$?
echo "status after SIGTERM: $rc"
exit "$rc"
