#!/usr/bin/env bash
# Runs a command on a desktop of its own: a virtual X server on a free
# display (1280 x 1024) with the openbox window manager, both ended
# afterwards.  The command sees DISPLAY and QT_QPA_PLATFORM=xcb.
set -uo pipefail
for tool in Xvfb openbox xprop xwininfo xdpyinfo xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is missing; scripts/deps installs it" >&2
    exit 1
  fi
done

work=$(mktemp -d)
xvfb=""
wm=""
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Waits, up to a minute however busy the machine, until a check holds.
await() {
  local deadline=$((SECONDS + 60))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# The server picks a free display and writes its number once it listens.
# It must not reset when its last client leaves: a client connecting during
# the reset (the window manager, just after the check below) is refused.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
if ! await test -s "$work/display"; then
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"
if ! await xdpyinfo >/dev/null 2>&1; then
  echo "Xvfb on $DISPLAY takes no clients:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi

openbox --sm-disable >"$work/wm.log" 2>&1 &
wm=$!
# The window manager is ready once it has announced itself on the root.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
if ! await wm_ready; then
  echo "openbox did not start:" >&2
  cat "$work/wm.log" >&2
  exit 1
fi

export QT_QPA_PLATFORM=xcb
export LC_ALL=C.UTF-8
"$@"
