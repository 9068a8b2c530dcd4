# Sourced by ./run and ./test: makes sure the Debian packages the build and the tests need
# are there. On a Debian machine as root it installs the missing ones itself; elsewhere it
# names them and stops.

sp_packages=(
    cmake ninja-build g++ pkg-config
    clang libclang-rt-14-dev
    qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
    libgtest-dev libbenchmark-dev libboost-dev libcli11-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth xdotool imagemagick
    dpkg-dev
)

sp_missing_packages() {
    local p
    for p in "${sp_packages[@]}"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
    done
}

sp_setup() {
    if ! command -v dpkg-query >/dev/null 2>&1; then
        echo "This is not a Debian-like system. Install the equivalents of: ${sp_packages[*]}" >&2
        command -v cmake >/dev/null && command -v ninja >/dev/null && return 0
        return 1
    fi
    local missing
    missing=$(sp_missing_packages | tr '\n' ' ')
    [ -z "${missing// /}" ] && return 0
    if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
        echo "Installing: $missing"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq || return 1
        # shellcheck disable=SC2086
        apt-get install -y --no-install-recommends $missing || return 1
    else
        echo "Missing packages: $missing" >&2
        echo "Install them with: sudo apt-get install --no-install-recommends $missing" >&2
        return 1
    fi
}

# Configures (once) and builds one preset.
sp_build() {
    local preset=$1
    shift
    local dir=build
    [ "$preset" = default ] || dir="build-$preset"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake --preset "$preset" >/dev/null || return 1
    fi
    cmake --build --preset "$preset" "$@"
}
