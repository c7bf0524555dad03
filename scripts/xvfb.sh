# xvfb.sh: a private X display (Xvfb, 1280x1024x24) for the tests labelled
# xvfb, which open real windows. Sourced, not run:
#   source scripts/xvfb.sh
#   xvfb_start      # exports DISPLAY; Xvfb stops when the shell exits
# Xvfb picks a free display number itself (-displayfd), so several runs on one
# machine do not collide.

TESSARN_XVFB_PID=""

# Starts Xvfb, waits (up to 10 s) until it is ready, exports DISPLAY and
# arranges for xvfb_stop to run when the shell exits. Returns non-zero, with a
# message, when Xvfb is missing or does not come up.
xvfb_start() {
  if ! command -v Xvfb >/dev/null; then
    echo "xvfb.sh: Xvfb is not installed" >&2
    return 1
  fi
  local ready
  ready=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  TESSARN_XVFB_PID=$!
  trap xvfb_stop EXIT
  local waited=0
  while [ ! -s "$ready" ]; do
    if ! kill -0 "$TESSARN_XVFB_PID" 2>/dev/null || [ "$waited" -ge 100 ]; then
      echo "xvfb.sh: Xvfb did not start" >&2
      rm -f "$ready"
      xvfb_stop
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$(head -n 1 "$ready")"
  rm -f "$ready"
  echo "Xvfb on display $DISPLAY"
}

# Stops the Xvfb that xvfb_start started, if any.
xvfb_stop() {
  if [ -n "$TESSARN_XVFB_PID" ]; then
    kill "$TESSARN_XVFB_PID" 2>/dev/null || true
    wait "$TESSARN_XVFB_PID" 2>/dev/null || true
    TESSARN_XVFB_PID=""
  fi
}
