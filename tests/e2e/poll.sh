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
