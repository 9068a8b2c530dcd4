# Sourced by the end-to-end scripts. A busy or slow machine shows windows and draws later
# than a fast one, so a check waits for its condition instead of sleeping a fixed time.

# poll SECONDS COMMAND...: runs the command every tenth of a second until it succeeds;
# fails when it has not succeeded within SECONDS seconds.
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

main_caption="Вертикальный пружинный маятник с горизонтальной вынуждающей силой"
# The id of the window with exactly this caption, or nothing.
find_window() { xdotool search --name "^$1\$" 2>/dev/null | head -1; }

# start_shown START...: runs START, which starts the program in the background, sets $app
# and writes its output to $work/app.log, until the main window shows; sets $window.
# Now and then a busy machine or a fresh Xvfb refuses the program's connection although
# the server already answered; the program then ends at once, saying so. That is the
# machine's fault, not the program's, so it is started again; any other way of ending
# without a window fails.
start_shown() {
    local try
    for try in 1 2 3; do
        "$@"
        poll 30 shown_or_ended
        [ -n "$window" ] && return 0
        kill "$app" 2>/dev/null
        wait "$app" 2>/dev/null
        app=
        grep -q "could not connect to display" "$work/app.log" || return 1
    done
    return 1
}
shown_or_ended() {
    window=$(find_window "$main_caption")
    [ -n "$window" ] || ! kill -0 "$app" 2>/dev/null
}
