#!/bin/bash
# The installer under Wine, in a prefix made for this test alone: a silent install, what it
# left (installer_check's Installed tests, which also open a project by its association),
# a second install over the first through its pages, which keeps the user's settings and
# starts the program from its last page, then a silent uninstall
# and what is left after it.
#   installer_test.sh SETUP.exe installer_check.exe PREFIX-FOLDER
set -euo pipefail
setup=$1
check=$2
export WINEPREFIX=$3
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
export WINEDEBUG=-all
export WINEARCH=win64

rm -rf "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true' EXIT
wine wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w

step() { printf -- '-- %s\n' "$*"; }

step "silent install"
wine "$setup" /S
wineserver -w
wine "$check" --gtest_filter='Installed.*' </dev/null
wineserver -w

# Enter on every page takes its default button; on the last one "Esegui Kel Morvane" is
# ticked, so the program must be running once the installer has closed.
step "install again over it through its pages, starting the program from the last one"
timeout 120 wine "$setup" &
installer=$(timeout 60 xdotool search --sync --name '^Installazione di Kel Morvane$' | head -1)
program='Program Files.Kel Morvane.KelMorvane\.exe'
for press in $(seq 40); do
    pgrep -f "$program" >/dev/null && break
    xdotool windowfocus "$installer" key Return 2>/dev/null || true
    sleep 1
done
wait
pgrep -f "$program" >/dev/null || { echo "the last page did not start the program"; exit 1; }
pkill -f "$program"
wineserver -w
wine "$check" --gtest_filter='Installed.Files*' </dev/null
wineserver -w

step "silent uninstall"
wine 'C:\Program Files\Kel Morvane\Disinstalla.exe' /S
wineserver -w
wine "$check" --gtest_filter='Uninstalled.*' </dev/null
wineserver -w
rm -rf "$WINEPREFIX"
