# Sourced by the scripts: an X display and a fresh Wine prefix for this run.
# Both are torn down when the calling script exits.
ombrel_cleanup() {
  if [ -n "${OMBREL_OWN_PREFIX:-}" ]; then
    WINEPREFIX=$OMBREL_OWN_PREFIX /usr/lib/wine/wineserver64 -k 2>/dev/null || true
    rm -rf "$OMBREL_OWN_PREFIX"
  fi
  [ -n "${OMBREL_XVFB_PID:-}" ] && kill "$OMBREL_XVFB_PID" 2>/dev/null || true
}
trap ombrel_cleanup EXIT

ombrel_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local n=99
    while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    OMBREL_XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  fi
}

ombrel_prefix() {
  OMBREL_OWN_PREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ombrel-wine.XXXXXX")
  export WINEPREFIX=$OMBREL_OWN_PREFIX
  # No Unix launchers for shortcuts saved on the desktop.
  export WINEDEBUG=-all LC_ALL=ru_RU.UTF-8 WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  # Wine links the user's Desktop, Documents and the like to $HOME. The
  # installer writes its shortcut to the desktop, and the tests look at
  # everything on C: for stray writes: keep all of them inside the prefix.
  find "$WINEPREFIX/drive_c/users" -type l | while read -r d; do rm "$d" && mkdir "$d"; done
  # Our own Xvfb has no window manager: unmanaged windows are drawn whole by
  # Wine, and hiding one does not wait 2 s for a manager that never answers.
  if [ -n "${OMBREL_XVFB_PID:-}" ]; then
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  # Keep the server up between test programs; the cleanup ends it.
  /usr/lib/wine/wineserver64 -p >/dev/null 2>&1 || true
}
