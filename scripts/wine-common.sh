# shellcheck shell=bash
# Shared by scripts/wine-exec, ./test, ./run and bench/run-*: how a
# Vitrolux build tree talks to Wine. Source it; it defines functions only.

vx_scripts_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The environment every Wine program of ours runs in.
vx_wine_env() {
  # Wine's diagnostics drown test output; VITROLUX_WINEDEBUG brings them back.
  export WINEDEBUG=${VITROLUX_WINEDEBUG:--all}
  # No prompts to download Mono or Gecko, and no desktop menu entries for
  # whatever a test program happens to create.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
  # Wine takes its user interface language from the Unix locale; the tests
  # look for windows of Wine's own programs by their English captions
  # ("Untitled - Notepad"). C.UTF-8 exists on every Debian machine.
  export LC_ALL=${VITROLUX_WINE_LOCALE:-C.UTF-8}
  export LANG=$LC_ALL
  unset LANGUAGE
}

# Prints the CMake build tree that holds $1 (a file or folder): the nearest
# folder at or above it with a CMakeCache.txt. Fails when there is none.
vx_build_tree_of() {
  local dir
  dir=$(realpath -m -- "$1")
  [[ -d $dir ]] || dir=$(dirname -- "$dir")
  while [[ $dir != / ]]; do
    if [[ -f $dir/CMakeCache.txt ]]; then
      echo "$dir"
      return 0
    fi
    dir=$(dirname -- "$dir")
  done
  return 1
}

# Prints the Wine prefix for the program $1: VITROLUX_WINEPREFIX when set,
# else <build tree>/wineprefix, else one in the user's cache folder.
vx_prefix_for() {
  if [[ -n ${VITROLUX_WINEPREFIX:-} ]]; then
    realpath -m -- "$VITROLUX_WINEPREFIX"
    return
  fi
  local tree
  if tree=$(vx_build_tree_of "$1"); then
    echo "$tree/wineprefix"
  else
    echo "${XDG_CACHE_HOME:-$HOME/.cache}/vitrolux/wineprefix"
  fi
}

# Creates the prefix $1 unless it is ready. ctest may start several programs
# at once on a fresh tree, so creation runs under a lock and a marker file
# tells the others it finished. A prefix without the marker (creation was
# interrupted, or someone else's prefix) is brought up to date in place, never
# wiped. Needs vx_wine_env and a DISPLAY.
vx_ensure_prefix() {
  local prefix=$1
  # The marker names the version of the settings below: a prefix made with
  # older settings is brought up to date.
  local marker=$prefix/.vitrolux-ready-3
  [[ -f $marker ]] && return 0
  mkdir -p -- "$(dirname -- "$prefix")"
  (
    flock 9
    [[ -f $marker ]] && exit 0
    export WINEPREFIX=$prefix
    local start=$SECONDS
    echo "wine: creating the prefix $prefix" >&2
    wineboot -i >/dev/null 2>&1 || { echo "wine: wineboot -i failed" >&2; exit 1; }
    vx_configure_prefix || { echo "wine: configuring the prefix failed" >&2; exit 1; }
    # The registry reaches the disk when the server ends; wait for that so a
    # persistent server started next begins from the finished prefix.
    timeout 60 wineserver -w || true
    touch "$marker"
    echo "wine: prefix ready in $((SECONDS - start)) s" >&2
  ) 9>"$prefix.lock"
}

# Settings made once per prefix. Needs WINEPREFIX.
# One registry value; a `wine reg` started while the prefix's server is
# still settling after wineboot now and then fails, so it is tried again.
vx_reg_add() {
  local try
  for try in 1 2 3; do
    wine reg add "$@" >/dev/null 2>&1 && return 0
    sleep 1
  done
  return 1
}

vx_configure_prefix() {
  local reg=(vx_reg_add)
  # A crashing test program must fail its test, not wait on a dialog that no
  # one will ever see on a virtual display.
  "${reg[@]}" 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f || return 1
  # There is no window manager on the virtual display. Windows handed to one
  # make Wine wait about 2 s for an answer whenever one is hidden or taken
  # into another window, which would distort every timing the tests measure.
  "${reg[@]}" 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f || return 1
  # The frame's fonts are Windows fonts Wine does not have; name the font
  # installed for the Chinese captions so the choice does not depend on
  # fontconfig's ordering.
  local cjk="WenQuanYi Micro Hei"
  local name
  for name in "微软雅黑" "Microsoft YaHei" "宋体" "SimSun"; do
    "${reg[@]}" 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /d "$cjk" /f || return 1
  done
  # The fonts of the system's own windows (tool tips, dialogs, captions)
  # have no Chinese glyphs. A Chinese Windows links them to its Chinese
  # font (FontLink\SystemLink), which supplies the glyphs they lack; the
  # same link to the installed font, so the tool tips and the Open
  # dialog's title and filter show their Chinese rather than empty boxes.
  local link="wqy-microhei.ttc,$cjk"
  for name in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI" "Microsoft Sans Serif" \
      "Arial" "Lucida Sans Unicode"; do
    "${reg[@]}" 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$name" /t REG_MULTI_SZ /d "$link" /f || return 1
  done
  return 0
}

# Starts Xvfb on a free display; sets DISPLAY and vx_xvfb_pid.
vx_start_xvfb() {
  local size=${1:-1280x800x24}
  local pidfile
  pidfile=$(mktemp)
  DISPLAY=$("$vx_scripts_dir/xvfb-start" --size "$size" --pidfile "$pidfile") || { rm -f "$pidfile"; return 1; }
  export DISPLAY
  vx_xvfb_pid=$(cat "$pidfile")
  rm -f "$pidfile"
}

vx_stop_xvfb() {
  if [[ -n ${vx_xvfb_pid:-} ]]; then
    kill "$vx_xvfb_pid" 2>/dev/null || true
    vx_xvfb_pid=
  fi
}

# A display and a persistent Wine server for a series of Wine programs in
# prefix $1 (display size $2): every program after the first then starts in
# a fraction of a second. Programs left running in the prefix by an earlier,
# interrupted session are ended first. Pair with vx_session_stop.
vx_session_start() {
  local prefix=$1 size=${2:-1280x800x24}
  vx_wine_env
  export WINEPREFIX=$prefix
  vx_start_xvfb "$size" || return 1
  wineserver -k >/dev/null 2>&1 || true
  vx_ensure_prefix "$WINEPREFIX" || return 1
  wineserver -p || return 1
}

vx_session_stop() {
  if [[ -n ${WINEPREFIX:-} ]]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  vx_stop_xvfb
}

# For the benchmarks (bench/run-*), run from the repository's root: installs
# what is missing, configures the cross build (its log in
# build/bench-configure.log) and builds the targets named.
vx_bench_build() {
  scripts/install-deps || return 1
  mkdir -p build
  if ! cmake --preset windows-cross >build/bench-configure.log 2>&1; then
    tail -n 40 build/bench-configure.log
    return 1
  fi
  cmake --build --preset windows-cross --target "$@"
}

# The benchmarks' Wine session in their own prefix, or VITROLUX_WINEPREFIX.
vx_bench_prefix() {
  echo "${VITROLUX_WINEPREFIX:-$PWD/build/bench-wineprefix}"
}
