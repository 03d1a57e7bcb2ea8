# Sourced by the scripts, the test wrapper and the benchmarks: the one place
# that says how Wine runs here (no debug noise, a Russian system with code
# page 1251 unless OMBREL_LOCALE names another locale, no Mono/Gecko prompts,
# no Unix launchers for shortcuts saved on the desktop), and an X display and
# a fresh Wine prefix for this run. Both are torn down when the calling script
# exits. Wine takes the system's code page from the locale of each process it
# starts: en_US.UTF-8 gives 1252.
export WINEDEBUG=-all LC_ALL=${OMBREL_LOCALE:-ru_RU.UTF-8}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

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
    # Xvfb takes a free display itself and tells which once it is ready, so
    # two runs side by side never share one.
    local ready n=
    ready=$(mktemp -u) && mkfifo "$ready"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
    OMBREL_XVFB_PID=$!
    read -r n <"$ready"
    rm -f "$ready"
    export DISPLAY=:$n
  fi
}

# Whether a window manager manages Wine's windows (Y) or Wine draws them whole (N).
ombrel_managed() {
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f >/dev/null 2>&1
}

ombrel_prefix() {
  OMBREL_OWN_PREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ombrel-wine.XXXXXX")
  export WINEPREFIX=$OMBREL_OWN_PREFIX
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  # Wine links the user's Desktop, Documents and the like to $HOME. The
  # installer writes its shortcut to the desktop, and the tests look at
  # everything on C: for stray writes: keep all of them inside the prefix.
  find "$WINEPREFIX/drive_c/users" -type l | while read -r d; do rm "$d" && mkdir "$d"; done
  # Our own Xvfb has no window manager: unmanaged windows are drawn whole by
  # Wine, and hiding one does not wait 2 s for a manager that never answers.
  if [ -n "${OMBREL_XVFB_PID:-}" ]; then
    ombrel_managed N
  fi
  # Keep the server up between test programs; the cleanup ends it.
  /usr/lib/wine/wineserver64 -p >/dev/null 2>&1 || true
}
