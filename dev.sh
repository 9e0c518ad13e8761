#!/usr/bin/env bash
# Builds, runs and tests the two programs on Debian 12, as root.
#   ./dev.sh run    install what is missing, build Zorvel and start it under Wine
#   ./dev.sh test   install what is missing, build all three builds, run every test
#   ./dev.sh bench  build the optimised host build, run its benchmarks and win64's (after test)
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev googletest
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
          wine wine64 xvfb locales fonts-wqy-microhei ffmpeg mplayer)

stage_start=0
stage() { stage_start=$(date +%s); echo "=== $*"; }
stage_done() { echo "=== done in $(( $(date +%s) - stage_start )) s"; }

ensure_packages() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    stage "installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    stage_done
  fi
  # Wine runs the programs with code page 936 under this locale.
  if ! locale -a | grep -qi '^zh_CN\.utf-\?8$'; then
    sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
  fi
}

build() {  # build PRESET [extra cmake arguments]
  local preset=$1; shift
  stage "configure and build $preset"
  cmake --preset "$preset" -DZV_WERROR=ON "$@" >/dev/null
  cmake --build --preset "$preset"
  stage_done
}

# What the shipping build's folder holds, one folder per program, and nothing else: a
# bridge or test double named like the user's encoder would be started instead of it.
SHIPPED=(Zorvel Zorvel/Zorvel.exe Zorvel/start.html video video/h264.dat video/video.exe)

check_shipped() {  # check_shipped DIST
  stage "checking what ships in $1"
  local exe dlls bad=0
  if ! diff <(printf '%s\n' "${SHIPPED[@]}" | LC_ALL=C sort) \
            <(cd "$1" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort) >&2; then
    echo "$1 is not what ships (<: missing, >: does not ship)" >&2
    bad=1
  fi
  # Each program stands alone: MinGW's runtime DLLs (all named lib*.dll) are linked in.
  for exe in "$1"/*/*.exe; do
    dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')
    case " $dlls" in *" lib"*) echo "$exe needs DLLs that do not ship: $dlls" >&2; bad=1 ;; esac
  done
  [ $bad = 0 ]
  stage_done
}

case "${1:-}" in
run)
  ensure_packages
  build win64 -DZV_TESTS=OFF
  bin=$root/build/win64/bin
  if [ -n "${DISPLAY:-}" ]; then
    WINEDEBUG=-all LANG=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree=;mshtml=" wine "$bin/Zorvel.exe"
  else
    # No display: on a virtual screen the demo driver starts Zorvel as a user would, adds
    # a sample clip, converts it, checks the result, saves screenshots and ends. The clip
    # is long and large enough that the encoder reports progress while it works (~2 s).
    demo=$root/build/win64/demo
    rm -rf "$demo" && mkdir -p "$demo"
    ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=duration=40:size=960x540:rate=25 \
      -f lavfi -i sine=frequency=440:duration=40 -c:v mpeg4 -c:a aac -shortest "$demo/sample.mp4"
    tools/wine-env.sh start build/win64
    trap 'tools/wine-env.sh stop build/win64' EXIT
    result=0
    tools/wine-env.sh run build/win64 "$bin/zorvel_demo.exe" "Z:$demo/sample.mp4" "Z:$demo" \
      | iconv -f GBK -t UTF-8 || result=$?
    echo "screenshots: build/win64/demo/zorvel.png, message.png, menu.png, converting.png," \
         "skin1.png ... skin5.png"
    exit $result
  fi
  ;;
test)
  ensure_packages
  build native
  build win64 -DZV_TESTS=ON
  build win32 -DZV_TESTS=OFF
  check_shipped build/win32/dist
  stage "native tests"
  ctest --preset native -LE bench
  stage_done
  stage "wine tests"
  ctest --preset win64 -LE bench
  stage_done
  ;;
bench)
  # The host benchmarks measure the code as the programs run it: optimised, no sanitizers.
  build native-release
  stage "benchmarks"
  ctest --test-dir build/native-release -L bench --output-on-failure -V | grep -vE '^(UpdateCTestConfiguration|Test project|Constructing|Checking|Parse|Add|Test command|Environment|Internal ctest|test [0-9]+$)' || true
  ctest --test-dir build/win64 -L bench -V | grep -E '^[0-9]+: ' | sed 's/^[0-9]*: //'
  stage_done
  ;;
*)
  sed -n '2,5p' "$0"; exit 2
  ;;
esac
