#!/bin/sh
# The install rules and the installed game, away from the build tree:
#   tests/install/installed_tree.sh BUILD-FOLDER COMPILED-DATA-FOLDER REPLAY
# Installs once with --prefix (as into ~/.local) and once staged with DESTDIR; each time every
# file must land inside its target, and the installed game must play a replay from there with
# its resources found beside its executable. COMPILED-DATA-FOLDER is the folder built into the
# game; where it exists the relative lookup cannot be told from it, and the run is skipped (77).
set -eu

build=$(cd "${1:?usage: installed_tree.sh BUILD-FOLDER COMPILED-DATA-FOLDER REPLAY}" && pwd)
compiled=${2:?}
replay=$(cd "$(dirname "${3:?}")" && pwd)/$(basename "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "install: FAILED: $*"
  exit 1
}

compiled_before=absent
[ -e "$compiled" ] && compiled_before=present

# Installs with the given DESTDIR (or none) and cmake --install arguments, and checks the
# manifest against the target.
install_into() {  # target, DESTDIR, arguments...
  target=$1
  destdir=$2
  shift 2
  rm -f "$build/install_manifest.txt"
  DESTDIR=$destdir cmake --install "$build" "$@" >"$work/install.log" 2>&1 ||
    fail "cmake --install $*: $(cat "$work/install.log")"
  [ -s "$build/install_manifest.txt" ] || fail "cmake --install $* wrote no manifest"
  # The manifest names the files without DESTDIR.
  while IFS= read -r file; do
    file=$destdir$file
    case "$file" in
      "$target"/*) [ -e "$file" ] || fail "$file is in the manifest but was not written" ;;
      *) fail "cmake --install $* wrote $file, outside $target" ;;
    esac
  done <"$build/install_manifest.txt"
  if [ "$compiled_before" = absent ] && [ -e "$compiled" ]; then
    fail "cmake --install $* wrote the compiled-in folder $compiled"
  fi
}

# Plays the replay with the installed game from an empty folder, its settings and replays
# kept in the run's own folders.
run_installed() {  # bin folder
  mkdir -p "$work/cwd" "$work/config" "$work/data"
  (cd "$work/cwd" &&
    HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$1/veldrane" --replay "$replay") \
    >"$work/run.log" 2>&1 || fail "the game installed in $1 did not play the replay: $(cat "$work/run.log")"
  grep -q '^replay: frame' "$work/run.log" || fail "the game in $1 did not report the replay"
}

local_prefix="$work/home/.local"
install_into "$local_prefix" "" --prefix "$local_prefix"
[ -f "$local_prefix/share/veldrane/res/dst/out.dat" ] ||
  fail "the resources are not under $local_prefix/share/veldrane"
[ -f "$local_prefix/share/metainfo/io.github.veldrane.veldrane.metainfo.xml" ] ||
  fail "the metainfo is not under $local_prefix/share/metainfo"

stage="$work/stage"
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
install_into "$stage$prefix" "$stage"
staged_bin=$stage$(dirname "$(grep -m1 '/veldrane$' "$build/install_manifest.txt")")

if [ "$compiled_before" = present ]; then
  echo "install: the install rules passed; the runs are skipped: $compiled exists"
  exit 77
fi
run_installed "$local_prefix/bin"
run_installed "$staged_bin"
echo "install: --prefix and DESTDIR installs stay inside their targets and run from there"
