#!/usr/bin/env bash
# Installs the build into a folder of its own, starts the installed program the way a desktop
# menu does (the entry's Exec= command, in the entry's Path= folder) under Xvfb, then builds
# the Debian package and reads it. Everything it writes stays in BUILD/install-test.
#   install_package.sh BUILD CMAKE CPACK
# Exits 77 (skipped) where Xvfb, xdotool, ImageMagick or the Debian package tools are missing.
set -uo pipefail
build=$1
cmake=$2
cpack=$3
# The folder is emptied below, so it has to be a build folder.
[ -f "$build/CMakeCache.txt" ] || { echo "usage: install_package.sh BUILD CMAKE CPACK"; exit 2; }
for tool in Xvfb:xvfb xdotool:xdotool identify:imagemagick dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev; do
    if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
        echo "SKIPPED: '${tool%%:*}' is missing (package ${tool#*:})"
        exit 77
    fi
done

work=$build/install-test
. "$(dirname "$0")/poll.sh"
rm -rf "$work"
mkdir -p "$work/home" "$work/runtime" || exit 1
chmod 700 "$work/runtime"
# A space in the prefix: the entry must quote the program's path for a launcher to split it right.
prefix="$work/prefix with space"
xvfb=
app=
# Installing and packaging write the list of what was installed into the build folder, and a
# user's own `cmake --install` is uninstalled by that list: the test leaves it as it found it.
manifest=$build/install_manifest.txt
saved_manifest=$build/install_manifest.before-test
rm -f "$saved_manifest"
[ -f "$manifest" ] && cp -p "$manifest" "$saved_manifest"
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    if [ -f "$saved_manifest" ]; then
        mv -f "$saved_manifest" "$manifest"
    else
        rm -f "$manifest"
    fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM  # a timeout's kill still ends the server and the program
fail() {
    echo "FAILED: $*"
    echo "(the files are kept in $work)"
    exit 1
}

# --- reading a desktop entry the way launchers do ---

# The value of KEY in the [Desktop Entry] group, with the string escapes (\s \n \t \r \\) undone.
entry_value() {
    local key=$1 file=$2 line group= raw= found=0 i c out=
    while IFS= read -r line || [ -n "$line" ]; do
        if [[ $line == \[*\] ]]; then
            group=$line
        elif [ "$group" = "[Desktop Entry]" ] && [[ $line =~ ^$key[[:space:]]*=[[:space:]]*(.*)$ ]]; then
            raw=${BASH_REMATCH[1]}
            found=$((found + 1))
        fi
    done <"$file"
    [ "$found" -eq 1 ] || { echo "the entry has $found $key= lines" >&2; return 1; }
    for ((i = 0; i < ${#raw}; i++)); do
        c=${raw:i:1}
        if [ "$c" = '\' ] && ((i + 1 < ${#raw})); then
            i=$((i + 1))
            case ${raw:i:1} in
                s) c=' ' ;;
                n) c=$'\n' ;;
                t) c=$'\t' ;;
                r) c=$'\r' ;;
                '\') c='\' ;;
                *) c="\\${raw:i:1}" ;;
            esac
        fi
        out+=$c
    done
    printf '%s' "$out"
}

# Splits an unescaped Exec= value into exec_args: spaces part the arguments, double quotes
# hold spaces and reserved characters, where \" \` \$ \\ stand for themselves; %% is a
# percent sign and the file field codes expand to nothing, as when started from a menu.
split_exec() {
    local in=$1 i c arg= quoted=0 have=0
    exec_args=()
    for ((i = 0; i < ${#in}; i++)); do
        c=${in:i:1}
        if [ "$c" = '%' ]; then
            i=$((i + 1))
            case ${in:i:1} in
                %) arg+=% have=1 ;;
                f | F | u | U) ((quoted)) && return 1 ;;
                *) return 1 ;;
            esac
        elif ((quoted)); then
            case $c in
                '"') quoted=0 ;;
                '\')
                    i=$((i + 1))
                    case ${in:i:1} in
                        '"' | '`' | '$' | '\') arg+=${in:i:1} ;;
                        *) return 1 ;;
                    esac
                    ;;
                *) arg+=$c ;;
            esac
        else
            case $c in
                ' ')
                    ((have)) && exec_args+=("$arg")
                    arg= have=0
                    ;;
                '"') quoted=1 have=1 ;;
                [\\\$\`\'\<\>\~\|\&\;\*\?\#\(\)$'\t']) return 1 ;;  # reserved: must be quoted
                *) arg+=$c have=1 ;;
            esac
        fi
    done
    ((quoted)) && return 1
    ((have)) && exec_args+=("$arg")
    [ "${#exec_args[@]}" -gt 0 ]
}

# Reads FILE's Exec= and Path= into exec_args and entry_path.
read_entry() {
    local exec
    exec=$(entry_value Exec "$1") || return 1
    split_exec "$exec" || { echo "Exec= cannot be split into arguments: $exec" >&2; return 1; }
    entry_path=$(entry_value Path "$1")
}

documents=(spravka.pdf spravka2.pdf uprav.pdf instruction.txt)

# --- install into the folder of our own ---

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install: $(tail -5 "$work/install.log")"
for program in spring-pendulum spring-pendulum-trace; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done
icons=()
for icon in "$prefix"/share/icons/hicolor/*/apps/spring-pendulum.png; do
    [ -f "$icon" ] || continue
    folder=${icon%/apps/*}
    folder=${folder##*/}
    size=$(identify -format '%wx%h' "$icon") || fail "unreadable icon $icon"
    [ "$size" = "$folder" ] || fail "the icon in $folder/ is $size"
    icons+=("$folder")
done
[ "${#icons[@]}" -gt 0 ] || fail "no icon in share/icons/hicolor"

desktop="$prefix/share/applications/spring-pendulum.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
# The menus' own checker, where it is installed (desktop-file-utils); hints are not errors.
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" >"$work/validate.log" 2>&1 || fail "$(grep error "$work/validate.log")"
fi
read_entry "$desktop" || fail "unreadable desktop entry"
[ "${exec_args[0]}" -ef "$prefix/bin/spring-pendulum" ] ||
    fail "Exec= starts '${exec_args[0]}', not the installed program"
[ "$entry_path" -ef "$prefix/share/spring-pendulum" ] || fail "Path= is '$entry_path'"
for document in "${documents[@]}"; do
    [ -s "$entry_path/$document" ] || fail "$document is not in the entry's folder"
done

# --- start it from the entry, in a virtual screen ---

# Our own server, on a display far above the ones that servers started with -displayfd probe
# from 0 upwards: we have seen a connection to a display fail while one probed it. A
# display that is taken after all makes Xvfb end at once; then another is tried. Xvfb keeps
# its lock file and socket in /tmp only while it runs.
# The server has written its display, or ended because the display was taken.
listening() { [ -s "$work/display" ] || ! kill -0 "$xvfb" 2>/dev/null; }
for _ in $(seq 10); do
    rm -f "$work/display"
    exec 3>"$work/display"
    Xvfb ":$((1000 + RANDOM % 30000))" -displayfd 3 -nolisten tcp -screen 0 1280x900x24 \
        >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    exec 3>&-
    poll 20 listening
    [ -s "$work/display" ] && break
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    xvfb=
done
[ -n "$xvfb" ] || fail "Xvfb did not start: $(tail -3 "$work/xvfb.log")"
export DISPLAY=:$(head -1 "$work/display")
poll 20 xdotool getdisplaygeometry >/dev/null 2>&1 ||
    fail "Xvfb on $DISPLAY does not answer: $(tail -3 "$work/xvfb.log")"

# Caches, settings and the runtime folder of the program go into the test's folder too.
start_from_entry() {
    (
        unset QT_QPA_PLATFORM
        export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"
        export XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/runtime"
        export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
        cd "$entry_path" && exec "${exec_args[@]}"
    ) >"$work/app.log" 2>&1 &
    app=$!
}

window=
start_shown start_from_entry
[ -n "$window" ] || fail "the installed program showed no main window: $(tail -5 "$work/app.log")"
[ "$(xdotool getwindowpid "$window" 2>/dev/null)" = "$app" ] || fail "the window is not the started program's"
kill "$app"
wait "$app" 2>/dev/null
app=

# --- the Debian package ---

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(tail -5 "$work/cpack.log")"
debs=("$work"/package/spring-pendulum_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no spring-pendulum_*.deb"
deb=${debs[0]}
dpkg-deb --info "$deb" >"$work/info.txt" || fail "dpkg-deb cannot read the package"
[ "$(dpkg-deb --field "$deb" Package)" = spring-pendulum ] || fail "the package is not named spring-pendulum"
depends=$(dpkg-deb --field "$deb" Depends)
# One name per line, without versions or alternatives.
depended=$(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//')
for needed in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 \
    fonts-liberation fonts-dejavu-core qt6-qpa-plugins qt6-translations-l10n; do
    grep -qx "$needed" <<<"$depended" || fail "Depends lacks $needed: $depends"
done

dpkg-deb --contents "$deb" >"$work/contents.txt" || fail "dpkg-deb cannot list the package"
# Mode, owner and path of every entry; the rest of a line is size and date.
listed=$(awk '{ print $1, $2, $NF }' "$work/contents.txt")
stray=$(awk '$3 != "./" && $3 !~ /^\.\/usr\// { print $3 }' <<<"$listed")
[ -z "$stray" ] || fail "files outside /usr: $stray"
has() { grep -qx -- "$1" <<<"$listed" || fail "the package lacks $1"; }
for program in spring-pendulum spring-pendulum-trace; do
    has "-rwxr-xr-x root/root ./usr/bin/$program"
done
for document in "${documents[@]}"; do
    has "-rw-r--r-- root/root ./usr/share/spring-pendulum/$document"
done
has "-rw-r--r-- root/root ./usr/share/applications/spring-pendulum.desktop"
for size in "${icons[@]}"; do
    has "-rw-r--r-- root/root ./usr/share/icons/hicolor/$size/apps/spring-pendulum.png"
done

# What Debian's conventions ask for: the licence, the changelog, a manual page for each
# program, and the metadata software centres read.
has "-rw-r--r-- root/root ./usr/share/doc/spring-pendulum/copyright"
has "-rw-r--r-- root/root ./usr/share/doc/spring-pendulum/changelog.gz"
for program in spring-pendulum spring-pendulum-trace; do
    has "-rw-r--r-- root/root ./usr/share/man/man1/$program.1.gz"
done
metainfo=./usr/share/metainfo/invalid.noreply.users.spring_pendulum.metainfo.xml
has "-rw-r--r-- root/root $metainfo"

# The packaged entry was written for /usr, not for the folder the package was staged in.
dpkg-deb -x "$deb" "$work/unpacked" || fail "dpkg-deb cannot unpack the package"
read_entry "$work/unpacked/usr/share/applications/spring-pendulum.desktop" ||
    fail "unreadable packaged desktop entry"
[ "${exec_args[*]}" = /usr/bin/spring-pendulum ] || fail "the packaged Exec= is '${exec_args[*]}'"
[ "$entry_path" = /usr/share/spring-pendulum ] || fail "the packaged Path= is '$entry_path'"

# The tool's page is made from its --help: its options are there.
zcat "$work/unpacked/usr/share/man/man1/spring-pendulum-trace.1.gz" | grep -q -- 'sweep' ||
    fail "the tool's manual page does not list --sweep"
# The checkers themselves, where the set-up installed them: their errors fail the test.
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$work/unpacked/$metainfo" >"$work/appstream.log" 2>&1 ||
        fail "appstreamcli: $(cat "$work/appstream.log")"
fi
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 ||
        fail "lintian: $(grep '^E:' "$work/lintian.log")"
fi

echo "installed and started from its entry; $(basename "$deb"): $(stat -c %s "$deb") bytes"
echo "Depends: $depends"
rm -rf "$work"
