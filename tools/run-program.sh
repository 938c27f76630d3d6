#!/bin/bash
# Starts ZUVO_MTT.exe under Wine: on your display when there is one, otherwise on a private
# Xvfb screen, with a screenshot written every few seconds so the run can be seen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/windows/bin"
program="$bin/ZUVO_MTT.exe"
if [ ! -f "$program" ]; then
    echo "run: ZUVO_MTT.exe is not built yet; the program folder $bin holds:"
    ls -1 "$bin"
    exit 0
fi
cd "$bin"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "run: starting ZUVO_MTT.exe on display $DISPLAY"
    ZUVO_USE_DISPLAY=1 exec "$root/tools/wine-run" "$program"
fi

shots="$root/build/run"
mkdir -p "$shots"
echo "run: no display here, so ZUVO_MTT.exe runs on a private Xvfb screen (1920x1080)."
echo "run: a screenshot is written every 5 s to $shots/screen.png; stop with Ctrl+C."
echo "run: to watch it live, install x11vnc and run 'x11vnc -display \$DISPLAY' inside"
echo "     tools/with-display, or run 'make run' from a desktop session."
exec "$root/tools/with-display" bash -c '
    "$0/tools/wine-run" "$1" &
    pid=$!
    trap "kill $pid 2>/dev/null; \"$0/tools/wine-run\" --stop-server" EXIT
    while kill -0 $pid 2>/dev/null; do
        sleep 5
        import -window root "$2/screen.png" 2>/dev/null && echo "run: screenshot $2/screen.png"
    done
    wait $pid' "$root" "$program" "$shots"
