#!/usr/bin/env bash
# The quick start's main command: sets up, builds the run-time, the builder and the
# demo screen saver, then starts it full screen. On a desktop it runs until an exit
# input (moving the mouse, a click, a key); with no display it runs for a while under
# a virtual X server (Xvfb) and saves a screenshot of every picture it shows.
#
#   ./scripts/demo.sh              build and run the demo
#   ./scripts/demo.sh --headless   run it under Xvfb even when there is a display
#   ./scripts/demo.sh --inspect    print what the demo contains (JSON) instead
#   DEMO_SECONDS=N                 length of the headless run (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."

mode=run
case "${1:-}" in
  "") ;;
  --headless) mode=headless ;;
  --inspect) mode=inspect ;;
  *) echo "usage: $0 [--headless | --inspect]" >&2; exit 2 ;;
esac

./scripts/setup.sh
if [ ! -f build/dev/build.ninja ]; then
  cmake --preset dev >&2
fi
cmake --build --preset dev -j "$(nproc)" --target pictoralia-saver pictoralia-pack demo >&2

demo=build/dev/bin/pictoralia-demo.scr
if [ "$mode" = inspect ]; then
  exec build/dev/bin/pictoralia-pack inspect "$demo"
fi
if [ "$mode" = run ] && [ -n "${DISPLAY:-}" ]; then
  echo "demo: $demo /s (move the mouse or press a key to end it)" >&2
  exec "$demo" /s
fi

seconds=${DEMO_SECONDS:-30}
shots=$PWD/build/dev/demo-shots
rm -rf "$shots"
mkdir -p "$shots"
trace=$shots/trace.txt

# Xvfb picks a free display and writes its number to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$shots/display" 2>/dev/null &
xvfb=$!
saver=
cleanup() {
  if [ -n "$saver" ]; then
    kill -TERM "$saver" 2>/dev/null || true
    wait "$saver" 2>/dev/null || true
  fi
  kill -TERM "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do
  [ -s "$shots/display" ] && break
  sleep 0.1
done
[ -s "$shots/display" ] || { echo "demo: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$shots/display")"
rm -f "$shots/display"

echo "demo: running $demo /s for $seconds s under Xvfb ($DISPLAY)" >&2
PICTORALIA_TRACE=$trace PICTORALIA_REGISTRY=$shots/registry.reg PICTORALIA_AUDIO=null \
  "$demo" /s >"$shots/saver.log" 2>&1 &
saver=$!

# A picture is whole on screen once its item is traced with effect 0, or once the
# effect that brought it has ended ("restart").
count=0
pending=
shoot() {
  sleep 0.3 # the window paints a moment after the trace line
  count=$((count + 1))
  import -window root "$shots/$(printf '%02d' "$count")-item-$pending.png"
  pending=
}
read_lines=0
end=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end" ] && kill -0 "$saver" 2>/dev/null; do
  if [ -f "$trace" ]; then
    while IFS=' ' read -r _ event first second _; do
      read_lines=$((read_lines + 1))
      case "$event" in
        item)
          pending=${first#index=}
          [ "$second" = effect=0 ] && shoot
          ;;
        restart)
          [ -n "$pending" ] && shoot
          ;;
      esac
    done < <(tail -n "+$((read_lines + 1))" "$trace")
  fi
  sleep 0.2
done
if ! kill -0 "$saver" 2>/dev/null; then
  echo "demo: the saver ended early; see $shots/saver.log" >&2
fi
cleanup
trap - EXIT

echo "demo: $count screenshots in $shots:" >&2
ls -1 "$shots"/*.png 2>/dev/null || true
