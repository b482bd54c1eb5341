# Sourced by the scripts: one Wine prefix for the project, one persistent wineserver, and an
# X display (Xvfb when none is given) so Windows programs can create windows.
export WINEDEBUG=-all
# No desktop menu entries for what the tests install, and no start-up delay while Wine makes them.
export WINEDLLOVERRIDES="winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export WINEARCH=win64
export WINEPREFIX="${QS_WINEPREFIX:-$HOME/.cache/quillsweep/wine}"
mkdir -p "$(dirname "$WINEPREFIX")"

qs_started_xvfb=""
if [ -z "${DISPLAY:-}" ] || [ -n "${QS_FORCE_XVFB:-}" ]; then
  for n in 97 98 99 96 95 94 93 92 91 90; do
    # A lock whose server is gone (a run that was killed) does not hold the display.
    if [ -e "/tmp/.X$n-lock" ] && ! kill -0 "$(tr -d ' ' < "/tmp/.X$n-lock")" 2>/dev/null; then
      rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
    fi
    # A server an earlier run left behind serves this one too (runs take turns on the display),
    # unless a screen of another size is asked for.
    if [ -z "${QS_XVFB_SCREEN:-}" ] && [ -e "/tmp/.X11-unix/X$n" ] && [ -e "/tmp/.X$n-lock" ]; then
      export DISPLAY=":$n"
      break
    fi
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 "${QS_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
      qs_started_xvfb=$!
      export DISPLAY=":$n"
      for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      break
    fi
  done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine: creating the prefix $WINEPREFIX (once)"
  # No Mono or Gecko: their installers would wait for a click.
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
wineserver -p 2>/dev/null || true
# Without a window manager every closing window would wait; the program's windows stay unmanaged.
for exe in quillswp32.exe quillsweep-cli.exe ui_tests.exe driver_fixture.exe window_gallery.exe; do
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 || true
done

qs_wine_stop() {
  wineserver -k 2>/dev/null || true
  [ -n "$qs_started_xvfb" ] && kill "$qs_started_xvfb" 2>/dev/null || true
}
