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
display_number=$((90 + RANDOM % 500))
export DISPLAY=:$display_number
Xvfb "$DISPLAY" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
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
    exit 1
}

for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
unset QT_QPA_PLATFORM
cd "$(dirname "$program")"
"$program" >"$work/app.log" 2>&1 &
app=$!

main_caption="Вертикальный пружинный маятник с горизонтальной вынуждающей силой"
run_caption="При работе размер окна изменить нельзя!"
window=
for _ in $(seq 100); do
    window=$(xdotool search --name "^${main_caption}\$" 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "the main window did not appear"
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
question=
for _ in $(seq 50); do
    question=$(xdotool search --name "^На Выход\$" 2>/dev/null | head -1)
    [ -n "$question" ] && break
    sleep 0.1
done
[ -n "$question" ] || fail "no closing question"
xdotool windowfocus "$question" 2>/dev/null
sleep 0.3
xdotool key --window "$question" Return  # Yes is the default button
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
