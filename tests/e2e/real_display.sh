#!/bin/sh
# The real programs on a real X display (Xvfb), driven by synthetic key presses:
#   tests/e2e/real_display.sh BUILD-FOLDER
# The game: title, a play, the pause menu, back to the play, out with Escape, and the
# statistics in the store afterwards. The report tool: its report shown, and the copy button
# putting it on the X clipboard. Screenshots are left in BUILD-FOLDER/e2e/.
# Exits 77 (skipped) when Xvfb or the tools that drive it are missing.
set -eu

build=$(cd "${1:?usage: real_display.sh BUILD-FOLDER}" && pwd)
for tool in Xvfb xdotool import convert compare xclip sqlite3; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "e2e: skipped: $tool is missing (scripts/install-deps installs it)"
    exit 77
  fi
done

shots="$build/e2e"
work=$(mktemp -d)
rm -rf "$shots"
mkdir -p "$shots"
server=""
program=""
finish() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

fail() {
  echo "e2e: FAILED: $*"
  exit 1
}

# ---- the display ----
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=":$(cat "$work/display")"
export DISPLAY
# The test command runs others headless; these run on the display.
unset SDL_VIDEODRIVER QT_QPA_PLATFORM
# Under the sanitizers, the display's own libraries (D-Bus, and the GL driver loaded and unloaded
# at run time, which no suppression can name) leak at exit; the headless tests check ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# The window named $1, once it is mapped.
window_of() {
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# A key held long enough for a game that reads the keyboard once a frame.
press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  sleep 0.15
}

# The root-mean-square difference (0..1) of two pictures, or of the same region of each.
difference() {
  compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}

region() {  # picture, geometry WxH+X+Y, output
  convert "$1" -crop "$2" +repage "$3"
}

below() {  # value, limit
  awk -v v="$1" -v l="$2" 'BEGIN { exit !(v != "" && v < l) }'
}

# The difference between a region of a screenshot and a region of a picture of the same size.
region_difference() {  # screenshot, its region, picture, its region
  region "$1" "$2" "$work/a.png"
  region "$3" "$4" "$work/b.png"
  difference "$work/a.png" "$work/b.png"
}

# ---- the game ----
# The window's picture starts below its menu bar (19 pixels) at zoom 1.
picture="640x480+0+19"
SDL_AUDIODRIVER=dummy "$build/veldrane" >"$work/game.log" 2>&1 &
program=$!
game=$(window_of '^VELDRANE$') || fail "the game's window did not appear: $(cat "$work/game.log")"
xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"
sleep 1.5

import -window "$game" "$shots/window-title.png"
region "$shots/window-title.png" "$picture" "$shots/title.png"
# The logo and sky at the top of the title are the title picture as the resource builder drew it.
art="$build/res/src/img"
d=$(region_difference "$shots/title.png" 448x120+0+0 "$art/title_picture.png" 448x120+0+0)
below "$d" 0.05 || fail "the title is not on screen (difference $d from the title picture)"

press z
sleep 3
import -window "$game" "$shots/window-play.png"
region "$shots/window-play.png" "$picture" "$shots/play.png"
# The panel's top (its logo) is the panel frame; the play field is no longer the title.
d=$(region_difference "$shots/play.png" 192x64+448+0 "$art/panel_frame.png" 192x64+0+0)
below "$d" 0.05 || fail "the score panel is not on screen (difference $d)"
d=$(region_difference "$shots/play.png" 448x480+0+0 "$shots/title.png" 448x480+0+0)
below "$d" 0.05 && fail "the play field still shows the title"

press p
sleep 0.6
import -window "$game" "$work/pause1.png"
sleep 0.6
import -window "$game" "$work/pause2.png"
cp "$work/pause1.png" "$shots/window-pause.png"
# Frozen: the field stands still apart from the blinking title, and the bright letters of the
# menu's steady hint line stand over it (the play itself has almost none there).
d=$(region_difference "$work/pause1.png" 448x100+0+19 "$work/pause2.png" 448x100+0+19)
below "$d" 0.002 || fail "the play did not stop for the pause menu (difference $d)"
region "$work/pause1.png" 300x24+86+229 "$work/pause-hint.png"
bright=$(convert "$work/pause-hint.png" -colorspace Gray -threshold 80% -format '%[fx:mean]' info:)
below 0.02 "$bright" || fail "the pause menu is not on screen (bright share $bright)"

press z  # RETURN
sleep 1
import -window "$game" "$work/again1.png"
sleep 0.5
import -window "$game" "$work/again2.png"
d=$(region_difference "$work/again1.png" 448x480+0+19 "$work/again2.png" 448x480+0+19)
below "$d" 0.002 && fail "the play did not go on after the pause menu"

press Escape
for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && fail "Escape did not end the game"
wait "$program" || fail "the game ended with status $?: $(cat "$work/game.log")"
program=""

store="$XDG_CONFIG_HOME/veldrane/settings.db"
value() {
  sqlite3 "$store" "SELECT value FROM settings WHERE application = 'VELDRANE' AND key = '$1'"
}
[ "$(value TryCount)" = 1 ] || fail "TryCount is '$(value TryCount)', not 1"
[ "$(value DeadCount)" = 1 ] || fail "DeadCount is '$(value DeadCount)', not 1"
[ "$(value F00112)" -ge 1 ] 2>/dev/null || [ "$(value F00012)" -ge 1 ] 2>/dev/null ||
  fail "no frame-rate second was counted"
[ "$(value VELDRANE_Ver)" = "20031227 1.0.30" ] || fail "the version was not stored"

# The play was recorded, and its replay ends where it ended.
set -- "$XDG_DATA_HOME"/veldrane/replays/*.vrp
[ $# -eq 1 ] && [ -f "$1" ] || fail "the play left no replay"
SDL_AUDIODRIVER=dummy "$build/veldrane" --replay "$1" >"$work/replay.log" 2>&1 ||
  fail "the replay did not end as the play did: $(cat "$work/replay.log")"

# ---- the report tool ----
"$build/envposter" >"$work/poster.log" 2>&1 &
program=$!
poster=$(window_of 'VELDRANE 動作環境チェッカー') ||
  fail "the report tool's window did not appear: $(cat "$work/poster.log")"
sleep 1.5
import -window "$poster" "$shots/report-tool.png"
# From the report box, where the window starts, Tab reaches the copy button first.
xdotool windowfocus --sync "$poster" 2>/dev/null || xdotool windowfocus "$poster"
xdotool key Tab
sleep 0.2
xdotool key space
sleep 0.5
xclip -o -selection clipboard >"$work/clipboard.txt" 2>/dev/null || true
grep -q '=== Frame Rate Report ===' "$work/clipboard.txt" || fail "the clipboard holds no report"
grep -q '^TryCount 1' "$work/clipboard.txt" || fail "the report does not show the play"
grep -q "$(printf 'POSTER_Ver 20031227 1.0.7\r')" "$work/clipboard.txt" ||
  fail "the report's lines do not end in CR LF"
kill "$program"
wait "$program" 2>/dev/null || true
program=""
echo "e2e: the game and the report tool passed on a real display; screenshots in $shots"
