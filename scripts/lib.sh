# Shared by scripts/run and scripts/test: the Wine environment and a virtual
# display with a warmed, persistent wineserver. Source it; call stop_display at exit.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$root/.cache/wineprefix" WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# On a first run this shell may have started before the locale was generated;
# bash then warns that it cannot switch, though the programs it starts can.
{ export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null

xvfb_pid=""

# Starts Xvfb (1024 x 768, 24 bits) on a free display number and exports DISPLAY.
start_display() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  start_wineserver
}

# A persistent wineserver started here, with its output on the null device,
# keeps each Wine process at a fraction of a second and keeps CTest from
# waiting on helper processes that inherited its pipes.
start_wineserver() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_display() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  fi
}
