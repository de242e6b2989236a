# Shared by tools/run and tools/test: the build, the private Wine prefix and a
# virtual display. Source it; it defines functions and changes nothing by itself.

quorlen_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUORLEN_BUILD_DIR:-$quorlen_root/build}

export WINEDEBUG=-all
# No Mono or Gecko installer prompts; and no winemenubuilder, which Wine starts
# whenever file associations change (the takeover changes them) to write desktop
# menus: it inherits the test program's output and can linger for minutes, so
# ctest waits for it long after the tests have passed.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

# Configures once, then builds the given targets (all when none are given).
build_quorlen() {
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$quorlen_root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$quorlen_root/cmake/mingw-w64.cmake" >/dev/null
  fi
  local targets=()
  for target in "$@"; do targets+=(--target "$target"); done
  cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}"
}

# Points Wine at the given prefix, creating it on first use.
use_wine_prefix() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/.quorlen-initialised" ]; then
    mkdir -p "$WINEPREFIX"
    echo "Preparing the Wine prefix $WINEPREFIX (once)..."
    local log="$WINEPREFIX/wineboot.log"
    if ! wineboot -i >"$log" 2>&1; then
      cat "$log" >&2
      echo "could not prepare the Wine prefix $WINEPREFIX" >&2
      return 1
    fi
    wineserver -w
    touch "$WINEPREFIX/.quorlen-initialised"
  fi
  if [ ! -f "$WINEPREFIX/.quorlen-fonts" ]; then
    give_wine_chinese_fonts && touch "$WINEPREFIX/.quorlen-fonts"
  fi
}

# Wine has none of the Chinese faces a Windows system has; the program asks for
# them by name. Their replacements let it draw Chinese with the WenQuanYi font.
give_wine_chinese_fonts() {
  local face
  for face in "Microsoft YaHei UI" "Microsoft YaHei" "SimSun"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f \
      >/dev/null 2>&1 || return 1
  done
  wineserver -w
}

# Keeps the prefix's wineserver and Wine's own services running until stop_wine,
# so that many short-lived programs start quickly. The services are started here:
# started later by a test, they would inherit its output pipes, and ctest would
# wait for those to close.
keep_wine_running() {
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1
}

# Everything a test or benchmark run needs around it: a display, the given
# private prefix with Wine kept running, and the mark that lets programs which
# change HKCU run in this prefix and nowhere else. The caller traps stop_wine
# and stop_virtual_display.
prepare_test_run() {
  start_virtual_display
  use_wine_prefix "$1"
  keep_wine_running
  touch "$WINEPREFIX/quorlen-private-test-prefix"
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display number and exports DISPLAY.
start_virtual_display() {
  local number
  for number in $(seq 90 199); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
    Xvfb ":$number" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    local waited
    for waited in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$number" ] && { export DISPLAY=":$number"; return 0; }
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_virtual_display() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
