#!/bin/sh
# The real programs on a real X display (Xvfb), driven by synthetic key presses:
#   tests/e2e/real_display.sh BUILD-FOLDER
# The game: title, a play, the pause menu, back to the play, out with Escape, and the
# statistics in the store afterwards. The report tool: its report shown, and the copy button
# putting it on the X clipboard. Screenshots are left in BUILD-FOLDER/e2e/.
# Exits 77 (skipped) when Xvfb or the tools that drive it are missing.
# It waits for what it is to see on the display, each wait with a limit: a slow machine makes
# the run longer, not red.
set -eu

build=$(cd "${1:?usage: real_display.sh BUILD-FOLDER}" && pwd)
for tool in Xvfb xdotool import convert compare xclip sqlite3 timeout; do
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
# Stops a process of ours and waits for it, so no run leaves one behind for the next.
stop() {
  kill "$1" 2>/dev/null || return 0
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
finish() {
  [ -n "$program" ] && stop "$program"
  [ -n "$server" ] && stop "$server"
  rm -rf "$work"
}
trap finish EXIT

fail() {
  echo "e2e: FAILED: $*"
  exit 1
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Runs the command until it succeeds, for at most $1 seconds; false when time runs out.
within() {  # seconds, command...
  deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# ---- the display ----
# -noreset: a server with no clients left resets, and a client connecting then is refused
# ("could not connect to display"); between the programs here it often has none.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
  2>"$work/xvfb.log" &
server=$!
number_reported() {
  kill -0 "$server" 2>/dev/null || fail "Xvfb ended at its start: $(cat "$work/xvfb.log")"
  grep -qx '[0-9][0-9]*' "$work/display"
}
within 10 number_reported || fail "Xvfb reported no display number in 10 s: $(cat "$work/xvfb.log")"
DISPLAY=":$(cat "$work/display")"
export DISPLAY
# The number may come before the server takes clients; a first answer proves it does.
answers() { xdotool getdisplaygeometry >/dev/null 2>&1; }
within 10 answers || fail "the display $DISPLAY did not answer in 10 s: $(cat "$work/xvfb.log")"
# The test command runs others headless; these run on this display, or fail saying so rather
# than fall back to a driver without a window.
export SDL_VIDEODRIVER=x11 QT_QPA_PLATFORM=xcb
# Under the sanitizers, the display's own libraries (D-Bus, and the GL driver loaded and unloaded
# at run time, which no suppression can name) leak at exit; the headless tests check ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# The viewable window named $1 of the running program, in $id.
id=""
window_shown() {  # name, what the program is, its log
  kill -0 "$program" 2>/dev/null ||
    fail "$2 ended before its window appeared: $(cat "$3")"
  id=$(xdotool search --all --pid "$program" --onlyvisible --name "$1" 2>/dev/null | head -n 1) ||
    true
  [ -n "$id" ]
}

# Keys from the test device go to the window with the input focus; there is no window manager.
focused() {  # window
  xdotool windowfocus "$1" 2>/dev/null || true
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# A key held long enough for a game that reads the keyboard once a frame.
press() {
  xdotool keydown "$1"
  sleep 0.2
  xdotool keyup "$1"
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

shot() {  # window, file
  import -window "$1" "$2" 2>"$work/import.log"
}

must_shoot() {  # window, file
  shot "$1" "$2" || fail "no screenshot of window $1: $(cat "$work/import.log")"
}

# ---- the game ----
# The window's picture starts below its menu bar (19 pixels) at zoom 1.
picture="640x480+0+19"
art="$build/res/src/img"
SDL_AUDIODRIVER=dummy "$build/veldrane" >"$work/game.log" 2>&1 &
program=$!
within 20 window_shown '^VELDRANE$' "the game" "$work/game.log" ||
  fail "the game's window did not appear in 20 s: $(cat "$work/game.log")"
game=$id
within 5 focused "$game" || fail "the game's window did not get the input focus in 5 s"

# The window is shown before the resources load; the title frame means the title reads keys.
d=""
title_shown() {
  shot "$game" "$shots/window-title.png" || return 1
  region "$shots/window-title.png" "$picture" "$shots/title.png"
  # The logo and sky at the top of the title are the title picture as the resource builder drew
  # it.
  d=$(region_difference "$shots/title.png" 448x120+0+0 "$art/title_picture.png" 448x120+0+0)
  below "$d" 0.05
}
within 20 title_shown || fail "the title is not on screen (difference $d from the title picture)"

# The play starts when Z is let go and draws nothing before; a press a busy game missed (it read
# the keyboard neither while Z was down) leaves the title up, and is made again.
title_left() {
  shot "$game" "$work/play-start.png" || return 1
  region "$work/play-start.png" "$picture" "$work/play-field.png"
  d=$(region_difference "$work/play-field.png" 448x480+0+0 "$shots/title.png" 448x480+0+0)
  ! below "$d" 0.05
}
left=""
for try in 1 2 3; do
  [ "$try" -gt 1 ] && echo "e2e: the title is still up: Z again"
  press z
  within 5 title_left && left=yes && break
done
[ -n "$left" ] || fail "the title did not give way after Z was pressed three times"
# Three seconds of play: the frame-rate sampler skips a play's first second.
sleep 3
must_shoot "$game" "$shots/window-play.png"
region "$shots/window-play.png" "$picture" "$shots/play.png"
# The panel's top (its logo) is the panel frame; the play field is no longer the title.
d=$(region_difference "$shots/play.png" 192x64+448+0 "$art/panel_frame.png" 192x64+0+0)
below "$d" 0.05 || fail "the score panel is not on screen (difference $d)"
d=$(region_difference "$shots/play.png" 448x480+0+0 "$shots/title.png" 448x480+0+0)
below "$d" 0.05 && fail "the play field still shows the title"

# P acts on its key event, once per press: it is not pressed again.
press p
bright=""
pause_shown() {
  shot "$game" "$work/pause1.png" || return 1
  region "$work/pause1.png" 300x24+86+229 "$work/pause-hint.png"
  bright=$(convert "$work/pause-hint.png" -colorspace Gray -threshold 80% -format '%[fx:mean]' \
    info:)
  below 0.02 "$bright"
}
within 10 pause_shown || fail "the pause menu is not on screen (bright share $bright)"
sleep 0.6
must_shoot "$game" "$work/pause2.png"
cp "$work/pause1.png" "$shots/window-pause.png"
# Frozen: the field stands still apart from the blinking title, and the bright letters of the
# menu's steady hint line stand over it (the play itself has almost none there).
d=$(region_difference "$work/pause1.png" 448x100+0+19 "$work/pause2.png" 448x100+0+19)
below "$d" 0.002 || fail "the play did not stop for the pause menu (difference $d)"
below 0.02 "$bright" || fail "the pause menu is not on screen (bright share $bright)"

# Z held picks RETURN; like the title, a press the menu missed leaves it up and is made again.
going_on() {
  shot "$game" "$work/again1.png" || return 1
  sleep 0.5
  shot "$game" "$work/again2.png" || return 1
  d=$(region_difference "$work/again1.png" 448x480+0+19 "$work/again2.png" 448x480+0+19)
  ! below "$d" 0.002
}
for try in 1 2 3; do
  [ "$try" -gt 1 ] && echo "e2e: the pause menu is still up: Z again"
  press z  # RETURN
  within 4 going_on && break
done
below "$d" 0.002 && fail "the play did not go on after the pause menu"

press Escape
game_ended() { ! kill -0 "$program" 2>/dev/null; }
within 10 game_ended || fail "Escape did not end the game"
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
status=0
SDL_AUDIODRIVER=dummy timeout 60 "$build/veldrane" --replay "$1" >"$work/replay.log" 2>&1 ||
  status=$?
[ "$status" -ne 124 ] || fail "the replay did not end in 60 s"
[ "$status" -eq 0 ] || fail "the replay did not end as the play did: $(cat "$work/replay.log")"

# ---- the report tool, in English ----
LC_ALL=C.UTF-8 "$build/envposter" >"$work/poster.log" 2>&1 &
program=$!
within 20 window_shown 'VELDRANE Environment Checker' "the report tool" "$work/poster.log" ||
  fail "the report tool's window did not appear in 20 s: $(cat "$work/poster.log")"
poster=$id
# The window shows a placeholder, with its buttons off, until the report is gathered: then
# the report's dark lines stand on the box's white below its first line (a window not yet
# painted is neither).
ink="" white=""
report_shown() {
  shot "$poster" "$shots/report-tool.png" || return 1
  region "$shots/report-tool.png" 860x300+16+300 "$work/report-box.png"
  ink=$(convert "$work/report-box.png" -colorspace Gray -threshold 50% -format '%[fx:1-mean]' info:)
  white=$(convert "$work/report-box.png" -colorspace Gray -threshold 90% -format '%[fx:mean]' info:)
  below 0.005 "$ink" && below "$ink" 0.2 && below 0.75 "$white"
}
within 20 report_shown ||
  fail "the report tool did not show a report in 20 s (ink share $ink, white share $white)"
within 5 focused "$poster" || fail "the report tool's window did not get the input focus in 5 s"
# From the report box, where the window starts, Tab reaches the copy button first.
xdotool key Tab
sleep 0.2
xdotool key space
# The tool answers the clipboard's readers from its event loop, once it has taken the press.
copied() {
  timeout 3 xclip -o -selection clipboard >"$work/clipboard.txt" 2>/dev/null || return 1
  grep -q '=== Frame Rate Report ===' "$work/clipboard.txt"
}
within 10 copied || fail "the clipboard holds no report"
grep -q '^TryCount 1' "$work/clipboard.txt" || fail "the report does not show the play"
grep -q "$(printf 'POSTER_Ver 20031227 1.0.7\r')" "$work/clipboard.txt" ||
  fail "the report's lines do not end in CR LF"
stop "$program"
program=""
echo "e2e: the game and the report tool passed on a real display; screenshots in $shots"
