# The desktop accessibility bus for end-to-end tests: a private D-Bus session with the
# accessibility registry, and the AT-SPI client (screen_reader.py) that reads it as a screen
# reader would. Source it before e2e_lib.sh: a script re-runs itself inside the session
# before it makes anything of its own.
A11Y_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The client library lives in the system's Python (another python3 may come first).
A11Y_PY=python3
python3 -c 'import pyatspi' 2>/dev/null || A11Y_PY=/usr/bin/python3

# Prints why the bus cannot be had here, or nothing when it can.
a11y_missing() {
  if ! command -v dbus-run-session >/dev/null; then
    echo "dbus-run-session is not installed (package dbus)"
  elif [ ! -x /usr/libexec/at-spi-bus-launcher ]; then
    echo "at-spi-bus-launcher is not installed (package at-spi2-core)"
  elif ! "$A11Y_PY" -c 'import pyatspi' 2>/dev/null; then
    echo "the AT-SPI client is not installed (package python3-pyatspi)"
  fi
}

# Runs script $1 again, with the rest as its arguments, inside a private D-Bus session; the
# run inside finds A11Y_IN_SESSION set.
a11y_session() { A11Y_IN_SESSION=1 exec dbus-run-session -- bash "$@"; }

# Inside the session: starts the accessibility registry and has the toolkit speak to it.
# Returns 1 (after showing the launcher's log) when the registry does not come up.
a11y_start() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/bus.log" 2>&1 &
  E2E_PIDS+=($!)
  wait_until 5 a11y_bus_answers || { cat "$E2E_TMP/bus.log" >&2; return 1; }
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
a11y_bus_answers() {
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1
}

# The client: reader buttons | focused | press NAME | menu | ontop | press-ontop | events …
reader() { timeout 20 "$A11Y_PY" "$A11Y_HERE/screen_reader.py" "$@"; }
