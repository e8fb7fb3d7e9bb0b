# Sourced by the guest's job scripts: the 32-bit Wine, code page 932, and a display.
export HOME=/root
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEPREFIX=/root/.wine WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=/usr/lib/wine/wine
wineserver=/usr/lib/wine/wineserver32
[ -x "$wineserver" ] || wineserver=/usr/lib/wine/wineserver

Xvfb :7 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=:7
i=0
while [ ! -e /tmp/.X11-unix/X7 ] && [ $i -lt 60 ]; do sleep 1; i=$((i + 1)); done
