# A private Wine session for programs that show windows, shared by qsrun and the tests'
# tests/wine/with-wine (sourced, bash):
#   - a private prefix, set up once, with a 1024x768 virtual desktop so that window switches cost
#     milliseconds, not seconds (without a window manager every switch under Xvfb takes about 2 s);
#   - an X display: the caller's, or a private Xvfb when DISPLAY is unset;
#   - a persistent wineserver for the session, so each program starts in about 0.1 s.
# Usage: wine_session_start PREFIX || exit; ...; wine_session_stop (from an EXIT trap).

wine_session_xvfb_pid=""

# Ends what wine_session_start started: the prefix's wineserver (and with it every program of the
# prefix) and the Xvfb.
wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$wine_session_xvfb_pid" ]; then
    kill "$wine_session_xvfb_pid" >/dev/null 2>&1
    wait "$wine_session_xvfb_pid" 2>/dev/null
    wine_session_xvfb_pid=""
  fi
  return 0
}

# Starts Xvfb on the first free display from :91 and exports DISPLAY; 1 when none would start.
wine_session_start_xvfb() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    wine_session_xvfb_pid=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$wine_session_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
    wine_session_xvfb_pid=""
  done
  return 1
}

# wine_session_start PREFIX — the environment for PREFIX, a display, the prefix set up, the
# server up. Messages go to standard error; status 1 when no display could be had.
wine_session_start() {
  export WINEPREFIX=$1
  export WINEDEBUG=-all
  export WINEARCH=win64
  # No Mono or Gecko installers: nothing we run needs them, and their prompts would hang a run.
  # No menu builder: it copies every shortcut and file association a program makes into the
  # user's desktop menus (~/.local/share/applications, ~/.config/menus), outside the prefix.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ -z "${DISPLAY:-}" ] && ! wine_session_start_xvfb; then
    echo "could not start Xvfb" >&2
    return 1
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$WINEPREFIX/.quillset-ready" ]; then
    echo "preparing the Wine prefix $WINEPREFIX (once)" >&2
    wineboot -i >/dev/null 2>&1
    wineserver -w
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.quillset-ready"
  fi
  wineserver -p >/dev/null 2>&1
  # Wine's own services start now, away from the caller's output descriptors: they inherit the
  # first program's and live on, and a caller reading a pipe would wait for them.
  wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1
  return 0
}
