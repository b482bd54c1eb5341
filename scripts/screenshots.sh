#!/usr/bin/env bash
# Screenshots of the program's windows under Xvfb, at 100 % and 150 % scaling, in high contrast
# (names ending -hc) and with text made half as big again at 100 % scaling (-text), into one folder
# (default /tmp/quillsweep-shots), for looking at what a user sees.
# Usage: scripts/screenshots.sh [folder [pattern]], e.g. pattern '*-hc' for high contrast only;
# QS_SHOTS_TEXT_SIZE sets the text size of the -text pass (100 to 225, default 150).
# Captures use `import`: `xwd -root` shows a window lying over another of the same program as black.
set -uo pipefail
cd "$(dirname "$0")/.."
out="${1:-/tmp/quillsweep-shots}"
only="${2:-}" # a pattern such as 'main-*-hc': only the shots it names
mkdir -p "$out"
# QS_SHOTS_BUILT=1: the programs were built already (under the shared build lock, say).
if [ "${QS_SHOTS_BUILT:-}" != 1 ]; then
  cmake --preset windows >/dev/null && cmake --build --preset windows --target quillswp32 window_gallery >/dev/null || exit 1
fi
# A display and a Wine prefix of its own: changing the scaling must not reach other programs.
unset DISPLAY
export QS_WINEPREFIX="$HOME/.cache/quillsweep/wine-shots" QS_XVFB_SCREEN=1920x1200x24
source scripts/wine-env.sh
trap qs_wine_stop EXIT
wine reg add 'HKCU\Software\Wine\AppDefaults\window_gallery.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
scratch=$(mktemp -d)
# Copies: a build meanwhile must not change the programs halfway through the shots.
cp build/windows/app/quillswp32.exe build/windows/ui/window_gallery.exe "$scratch/"
gallery="$scratch/window_gallery.exe"
found="$scratch/found"
for d in $(seq 0 19); do
  # Few of the first options' finds, so the first screen shows every safety class.
  mkdir -p "$found/project$d/build"
  (cd "$found/project$d" && touch $(seq -f 'trace%g.qsx' 0 5) $(seq -f 'build/out%g.qsx' 0 5))
  [ "$d" -lt 5 ] && touch "$found/project$d/.DS_Store" "$found/project$d/build/.DS_Store"
  [ "$d" -lt 2 ] && (cd "$found/project$d" && touch $(seq -f 'notes%g.bak' 0 4) && head -c 300000 /dev/zero > "big$d.bak")
done

shoot() { # name command...
  # shellcheck disable=SC2053 # a pattern on purpose
  [[ -n "$only" && "$1" != $only ]] && return
  "${@:2}" >/dev/null 2>&1 &
  local pid=$!
  sleep 3
  import -window root "$out/$1.png"
  kill "$pid" 2>/dev/null
  sleep 1
}

# A black high-contrast scheme: Wine has no high-contrast mode of its own, so the program is told
# through QUILLSWEEP_HIGH_CONTRAST and the system colours are set as Windows' scheme sets them.
# Windows draws without visual styles in high contrast: Wine's style is turned off meanwhile too.
high_contrast() { # on|off; the prefix's own colours and style are kept aside meanwhile
  local key='HKCU\Control Panel\Colors' saved="$WINEPREFIX/normal-colours.reg"
  local themes='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' style="$WINEPREFIX/normal-style"
  if [ "$1" = off ]; then
    [ -f "$saved" ] && wine reg import "$(winepath -w "$saved")" >/dev/null 2>&1 && rm -f "$saved"
    [ -f "$style" ] && wine reg add "$themes" /v ThemeActive /d "$(cat "$style")" /f >/dev/null 2>&1 && rm -f "$style"
    unset QUILLSWEEP_HIGH_CONTRAST
    return
  fi
  wine reg export "$key" "$(winepath -w "$saved")" /y >/dev/null 2>&1
  wine reg query "$themes" /v ThemeActive 2>/dev/null | tr -d '\r' | awk '/ThemeActive/ {print $NF}' > "$style"
  [ -s "$style" ] || echo 1 > "$style"
  wine reg add "$themes" /v ThemeActive /d 0 /f >/dev/null 2>&1
  for pair in "Window=0 0 0" "WindowText=255 255 255" "ButtonFace=0 0 0" "ButtonText=255 255 255" \
      "Hilight=26 235 255" "HilightText=0 0 0" "GrayText=63 242 63" "Menu=0 0 0" "MenuText=255 255 255" \
      "ButtonShadow=255 255 255" "ButtonHilight=255 255 255" "WindowFrame=255 255 255" "HotTrackingColor=255 255 0" \
      "Scrollbar=0 0 0"; do
    wine reg add "$key" /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null 2>&1
  done
  export QUILLSWEEP_HIGH_CONTRAST=1
}
high_contrast off # the colours a killed run left aside come back first
# Windows' text size setting (Settings > Accessibility > Text size), as Windows stores it.
text_size() { # percent; 100 removes it
  local key='HKCU\Software\Microsoft\Accessibility'
  if [ "$1" = 100 ]; then
    wine reg delete "$key" /v TextScaleFactor /f >/dev/null 2>&1
  else
    wine reg add "$key" /v TextScaleFactor /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  fi
}
text_size 100

for dpi in 96 144 hc text; do
  if [ "$dpi" = hc ] || [ "$dpi" = text ]; then
    [ "$dpi" = hc ] && high_contrast on
    [ "$dpi" = text ] && high_contrast off && text_size "${QS_SHOTS_TEXT_SIZE:-150}"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
  fi
  rm -f "$scratch"/*.prefs
  shoot "main-first-run-$dpi" wine "$scratch/quillswp32.exe"
  wine taskkill /F /IM quillswp32.exe >/dev/null 2>&1
  wine "$gallery" returning-user "$(winepath -w "$scratch/quillswp32.prefs")" >/dev/null 2>&1
  shoot "main-$dpi" wine "$scratch/quillswp32.exe" -defaultsize
  wine taskkill /F /IM quillswp32.exe >/dev/null 2>&1
  # The objects page after a scan that finds a few hundred objects of every safety class.
  # shellcheck disable=SC2053
  if [[ -z "$only" || "main-objects-$dpi" == $only ]]; then
    wine "$gallery" returning-user "$(winepath -w "$scratch/quillswp32.prefs")" found >/dev/null 2>&1
    wine "$scratch/quillswp32.exe" "$(winepath -w "$found")" >/dev/null 2>&1 &
    sleep 3
    wine "$gallery" press Quillsweep "Continue >" >/dev/null 2>&1
    sleep 3
    import -window root "$out/main-objects-$dpi.png"
    wine taskkill /F /IM quillswp32.exe >/dev/null 2>&1
  fi
  for kind in 0 1 2 3 4 5; do
    shoot "msgbox-$kind-$dpi" wine "$gallery" msgbox $kind
    wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  done
  shoot "msgbox-one-line-$dpi" wine "$gallery" msgbox 3 "Close Quillsweep?" 36
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "help-damaged-$dpi" wine "$gallery" msgbox 0 \
    "$(printf 'Failed to display the Help topics because this copy of Quillsweep is damaged.\r\nPlease obtain a new copy of "quillswp32.exe".')" 8
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  for page in General Scanner Validator Cleaner Uninstall; do
    shoot "options-${page,,}-$dpi" wine "$gallery" options "&$page"
    wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  done
  shoot "computing-$dpi" wine "$gallery" computing
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "computing-bar-$dpi" wine "$gallery" computing bar
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "editlist-$dpi" wine "$gallery" editlist - "Exclude Files" 'desktop.ini;index.dat;C:\Windows\Temp\setup.log;thumbs.db'
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "editlist-directories-$dpi" wine "$gallery" editlist - "Custom Directories" '' directories
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "legend-$dpi" wine "$gallery" legend
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "about-$dpi" wine "$gallery" about note
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "driveinfo-$dpi" wine "$gallery" driveinfo
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "driveinfo-wine-c-$dpi" wine "$gallery" driveinfo 'C:\'
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "uninstall-$dpi" wine "$gallery" uninstall
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  shoot "uninstall-sorted-$dpi" wine "$gallery" uninstall sorted
  wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  for page in scan clean; do
    shoot "report-$page-$dpi" wine "$gallery" report $page
    wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  done
  # The file viewer over a few lines of text and every byte value, in its three modes.
  { printf 'Quillsweep trace file\r\n\tline two: caf\x82 cr\x8ame br\x96l\x82e\r\n'
    for byte in $(seq 0 255); do printf "\\x$(printf %02x "$byte")"; done
    printf '\r\nend of the sample\n'; } > "$scratch/sample.bin"
  for mode in 0 1 2; do
    shoot "viewer-$mode-$dpi" wine "$gallery" viewer $mode "$(winepath -w "$scratch/sample.bin")"
    wine taskkill /F /IM window_gallery.exe >/dev/null 2>&1
  done
done
high_contrast off
text_size 100
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
rm -rf "$scratch"
echo "screenshots in $out"
