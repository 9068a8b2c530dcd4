#!/usr/bin/env bash
# End to end in a real X server: start the program, run it, stop it, close it.
#   run_window.sh PROGRAM X11-CLOSE
# Exits 77 (skipped) where Xvfb or the X tools are missing.
set -uo pipefail
program=$1
x11_close=$2
for tool in Xvfb xdotool import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: '$tool' is missing (packages xvfb, xdotool, imagemagick)"
        exit 77
    fi
done

work=$(mktemp -d)
# Xvfb picks a free display itself, so parallel tests and other servers never collide.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAILED: Xvfb did not start"; kill "$xvfb"; rm -rf "$work"; exit 1; }
export DISPLAY=:$(head -1 "$work/display")
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*"
    [ -s "$work/app.log" ] && sed "s/^/  program: /" "$work/app.log" | head -8
    exit 1
}

for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
unset QT_QPA_PLATFORM
cd "$(dirname "$program")"
# Now and then a fresh Xvfb refuses the program's first connection although it already
# answered xdotool; a start that could not connect is tried again, nothing else is.
for _ in 1 2 3; do
    "$program" >"$work/app.log" 2>&1 &
    app=$!
    sleep 1
    grep -q "could not connect to display" "$work/app.log" || break
    wait "$app" 2>/dev/null
    app=
    sleep 0.5
done

main_caption="Вертикальный пружинный маятник с горизонтальной вынуждающей силой"
run_caption="При работе размер окна изменить нельзя!"
# Prints the id of the window with exactly this caption once it shows, within 30 s.
wait_for_window() {
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$id" ] && echo "$id" && return 0
        sleep 0.1
    done
    return 1
}
window=$(wait_for_window "$main_caption") || fail "the main window did not appear"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
# The client area is 560 × 484 below the menu bar.
[ "$WIDTH" -eq 560 ] || fail "window width $WIDTH, expected 560"
[ "$HEIGHT" -gt 484 ] && [ "$HEIGHT" -lt 540 ] || fail "window height $HEIGHT, expected 484 plus the menu bar"
menu=$((HEIGHT - 484))

# Picture1 at (4, 4) 420 × 420; CmdOK at (360, 456) 64 × 24 in the client area.
plane="412x412+$((X + 8))+$((Y + menu + 8))"
button="60x20+$((X + 362))+$((Y + menu + 458))"
xdotool mousemove $((X + 700)) $((Y + 100))
sleep 0.3
import -window root -crop "$button" +repage "$work/idle-button.png"
red_pixels() {
    convert "$1" -crop "$plane" +repage -fill black +opaque "rgb(255,0,0)" -fill white -opaque "rgb(255,0,0)" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}
import -window root "$work/before.png"
before=$(red_pixels "$work/before.png")

xdotool mousemove $((X + 392)) $((Y + menu + 468)) click 1
sleep 1
[ "$(xdotool getwindowname "$window")" = "$run_caption" ] || fail "no run caption after the start click"
import -window root "$work/running.png"
running=$(red_pixels "$work/running.png")
[ "$running" -gt $((before + 100)) ] || fail "no trajectory drawn on the plane ($before → $running red pixels)"

xdotool mousemove $((X + 392)) $((Y + menu + 468)) click 1
sleep 1.2  # the step ends, then the 600 ms tone
[ "$(xdotool getwindowname "$window")" = "$main_caption" ] || fail "caption not restored after stop"
xdotool mousemove $((X + 700)) $((Y + 100))  # no hover highlight on the button
sleep 0.3
import -window root -crop "$button" +repage "$work/stopped-button.png"
[ "$(compare -metric AE "$work/idle-button.png" "$work/stopped-button.png" null: 2>&1)" = "0" ] ||
    fail "the button does not read ПУСК again"

"$x11_close" "$window" || fail "could not ask the window to close"
question=$(wait_for_window "На Выход") || fail "no closing question"
xdotool windowfocus "$question" 2>/dev/null
sleep 0.3
xdotool key Return  # Yes is the default button
for _ in $(seq 50); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app" 2>/dev/null && fail "the program did not end after Yes"
wait "$app"
status=$?
app=
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "end-to-end: window, run, stop and close all behaved ($running red pixels on the plane)"
