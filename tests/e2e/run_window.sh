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
. "$(dirname "$0")/poll.sh"
# Xvfb picks a free display itself, so parallel tests and other servers never collide.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
poll 20 test -s "$work/display" || { echo "FAILED: Xvfb did not start"; kill "$xvfb"; rm -rf "$work"; exit 1; }
export DISPLAY=:$(head -1 "$work/display")
app=
window=
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

poll 20 xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb on $DISPLAY does not answer"
unset QT_QPA_PLATFORM
cd "$(dirname "$program")"

run_caption="При работе размер окна изменить нельзя!"
# Prints the id of the window with exactly this caption once it shows, within 30 s.
wait_for_window() {
    local id=
    shows() { id=$(find_window "$1") && [ -n "$id" ]; }
    poll 30 shows "$1" && echo "$id"
}
start_program() {
    "$program" >"$work/app.log" 2>&1 &
    app=$!
}
start_shown start_program
[ -n "$window" ] || fail "the main window did not appear"

# The client area is 560 × 484 below the menu bar.
laid_out() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$WIDTH" -eq 560 ] && [ "$HEIGHT" -gt 484 ] && [ "$HEIGHT" -lt 540 ]
}
if ! poll 20 laid_out; then
    [ "$WIDTH" -eq 560 ] || fail "window width $WIDTH, expected 560"
    fail "window height $HEIGHT, expected 484 plus the menu bar"
fi
menu=$((HEIGHT - 484))

# Picture1 at (4, 4) 420 × 420; CmdOK at (360, 456) 64 × 24 in the client area.
plane="412x412+$((X + 8))+$((Y + menu + 8))"
button="60x20+$((X + 362))+$((Y + menu + 458))"
red_pixels() {
    convert "$1" -crop "$plane" +repage -fill black +opaque "rgb(255,0,0)" -fill white -opaque "rgb(255,0,0)" \
        -format "%[fx:int(mean*w*h+0.5)]" info:
}
# The button as shown, in $1.png; succeeds once it is painted (several colours) and looks
# the same as at the previous call, that is once hovering and redrawing have settled.
button_settled() {
    import -window root -crop "$button" +repage "$work/$1.png" || return 1
    [ "$(identify -format %k "$work/$1.png")" -gt 2 ] || return 1
    local same=1
    [ -f "$work/$1-before.png" ] &&
        [ "$(compare -metric AE "$work/$1-before.png" "$work/$1.png" null: 2>&1)" = "0" ] && same=0
    cp "$work/$1.png" "$work/$1-before.png"
    return $same
}
# The plane is painted once its red equilibrium lines show.
painted() {
    import -window root "$work/before.png" && before=$(red_pixels "$work/before.png") && [ "$before" -gt 0 ]
}
caption_is() { [ "$(xdotool getwindowname "$window")" = "$1" ]; }
# More red on the plane than before the start: the run is drawing its trajectory.
drawing() {
    import -window root "$work/running.png" && running=$(red_pixels "$work/running.png") &&
        [ "$running" -gt $((before + 100)) ]
}

xdotool mousemove $((X + 700)) $((Y + 100))  # no hover highlight on the button
poll 20 button_settled idle-button || fail "the start button was never drawn steadily"
before=0
poll 20 painted || fail "the plane was never drawn"

xdotool mousemove $((X + 392)) $((Y + menu + 468)) click 1
poll 20 caption_is "$run_caption" || fail "no run caption after the start click"
running=$before
poll 20 drawing || fail "no trajectory drawn on the plane ($before → $running red pixels)"

xdotool mousemove $((X + 392)) $((Y + menu + 468)) click 1
# The step ends, then the 600 ms tone; the caption comes back at the click already.
poll 20 caption_is "$main_caption" || fail "caption not restored after stop"
xdotool mousemove $((X + 700)) $((Y + 100))
reads_start() {
    button_settled stopped-button &&
        [ "$(compare -metric AE "$work/idle-button.png" "$work/stopped-button.png" null: 2>&1)" = "0" ]
}
poll 20 reads_start || fail "the button does not read ПУСК again"

"$x11_close" "$window" || fail "could not ask the window to close"
question=$(wait_for_window "На Выход") || fail "no closing question"
# The key goes to whichever window has the keyboard, so the box must have it first.
focused() {
    xdotool windowfocus "$question" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$question" ]
}
poll 20 focused || fail "the closing question never got the keyboard"
xdotool key Return  # Yes is the default button
ended() { ! kill -0 "$app" 2>/dev/null; }
poll 20 ended || fail "the program did not end after Yes"
wait "$app"
status=$?
app=
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "end-to-end: window, run, stop and close all behaved ($running red pixels on the plane)"
