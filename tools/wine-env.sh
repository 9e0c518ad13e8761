#!/usr/bin/env bash
# The one Wine environment of the tests: a private prefix inside the build folder, a
# persistent wineserver, a virtual X server, code page 936, window frames drawn by the
# programs themselves, and the heap checked (freed blocks filled with a pattern, block
# tails checked), so that a call through a freed object faults instead of passing by luck.
#   wine-env.sh start BUILD_DIR          make the prefix (once), start Xvfb and wineserver
#   wine-env.sh run BUILD_DIR [--no-heap-check[=IMAGE,...]] PROG ARGS
#                                        run a Windows program in that environment (a
#                                        benchmark or a volume test: on a heap unchecked)
#   wine-env.sh stop BUILD_DIR           stop both
# ZV_WINE_CTYPE=C.UTF-8 runs a program with the character set of that locale instead
# (ANSI code page 1252, OEM 437), the user locale staying Chinese.
set -euo pipefail

cmd=${1:?start|run|stop}
build=$(cd "${2:?build folder}" && pwd)
state=$build/wine
envfile=$state/env.sh
shift 2

export WINEPREFIX=$state/prefix
export WINEDEBUG=-all
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# Only the character set changes: Wine writes the user locale into the prefix's registry,
# which every other program of the run shares.
if [ -n "${ZV_WINE_CTYPE:-}" ]; then
  unset LC_ALL
  export LC_CTYPE=$ZV_WINE_CTYPE
fi
# No installer prompts for the .NET runtime or the HTML engine, ever.
export WINEDLLOVERRIDES="mscoree=;mshtml="

free_display() {
  local n
  for n in $(seq 90 199); do
    if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then echo "$n"; return; fi
  done
  echo "no free X display" >&2; return 1
}

# Where a program's image is exempted from the heap checking.
IFEO='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options'

# import_reg FILE LINE...: writes the lines as a registry file and imports it.
import_reg() {
  local file=$1
  shift
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' "$@" >"$file"
  wine reg import "Z:${file//\//\\}" </dev/null >/dev/null 2>&1
}

case "$cmd" in
start)
  mkdir -p "$state"
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    echo "locale zh_CN.UTF-8 is not generated (the set-up command does it)" >&2; exit 1
  fi
  [ -f "$envfile" ] && "$0" stop "$build" || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    # No window manager runs on the virtual screen: unmanaged windows come and go at once
    # instead of waiting two seconds for a window manager that never answers.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
  # Another environment may take the same free display at the same moment: then this
  # server exits at once, and the next free display is tried.
  for _ in 1 2 3 4 5; do
    n=$(free_display)
    # Started detached from our output, so that whoever runs this script is not kept waiting.
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
    xpid=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] || ! kill -0 "$xpid" 2>/dev/null && break
      sleep 0.1
    done
    sleep 0.2  # a server that lost the display to another one is gone by now
    kill -0 "$xpid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ] && break
    xpid=
  done
  [ -n "$xpid" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$n"
  wineserver -p </dev/null >/dev/null 2>&1
  # Wine's own services start with the first program and live as long as the server;
  # start them here, away from any test's output, or they would hold it open.
  wineboot </dev/null >/dev/null 2>&1
  # Heap free and tail checking for every program, set at every start so that an older
  # prefix gets it too; exemptions left by a run that was cut short go.
  import_reg "$state/heap.reg" "[-$IFEO]" "[$IFEO]" '' \
    '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager]' \
    '"GlobalFlag"=dword:00000030' ||
    { echo "the heap checking could not be set in $WINEPREFIX" >&2; exit 1; }
  cat >"$envfile" <<ENV
export DISPLAY=:$n
XVFB_PID=$xpid
ENV
  echo "wine environment up on display :$n (prefix $WINEPREFIX)"
  ;;
run)
  [ -f "$envfile" ] || { echo "wine environment not started: $0 start $build" >&2; exit 1; }
  # shellcheck disable=SC1090
  . "$envfile"
  if [[ ${1:-} == --no-heap-check* ]]; then
    # For this run only, no heap checking for the program and for the programs it starts
    # that follow "=" (a benchmark's children, say).
    images=${1#--no-heap-check}
    shift
    image=${1##*/}
    IFS=, read -ra images <<<"${image##*\\}${images/=/,}"
    set_lines=() unset_lines=()
    for image in "${images[@]}"; do
      set_lines+=("[$IFEO\\$image]" '"GlobalFlag"=dword:00000000' '')
      unset_lines+=("[-$IFEO\\$image]")
    done
    reg="$state/unchecked-$$.reg"
    import_reg "$reg" "${set_lines[@]}" ||
      { echo "the heap checking could not be lifted for ${images[*]}" >&2; exit 1; }
    rc=0
    wine "$@" || rc=$?
    import_reg "$reg" "${unset_lines[@]}" || true
    rm -f "$reg"
    exit $rc
  fi
  exec wine "$@"
  ;;
stop)
  if [ -f "$envfile" ]; then
    # shellcheck disable=SC1090
    . "$envfile"
    wineserver -k 2>/dev/null || true
    kill "$XVFB_PID" 2>/dev/null || true
    rm -f "$envfile"
  fi
  ;;
*)
  echo "usage: $0 start|run|stop BUILD_DIR [PROG ARGS]" >&2; exit 2
  ;;
esac
