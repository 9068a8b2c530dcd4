# Sourced by ./run and ./test: makes sure the Debian packages the build and the tests need
# are there. On a Debian machine as root it installs the missing ones itself; elsewhere it
# names them and stops.

# clang's sanitizer and libFuzzer runtimes are not in this list: their package carries
# clang's major version in its name, so it is named once clang is installed.
sp_packages=(
    cmake ninja-build g++ pkg-config
    clang
    qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
    libgtest-dev libbenchmark-dev libboost-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth xdotool imagemagick
    dpkg-dev ccache
    help2man appstream lintian
)

sp_missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
    done
}

# The runtime package of the installed clang, "libclang-rt-<major>-dev", the major version
# read from "clang --version" (Debian's reads "Debian clang version 14.0.6").
sp_clang_runtime_package() {
    local major
    major=$(clang --version 2>/dev/null | sed -n 's/.*clang version \([0-9][0-9]*\)\..*/\1/p' | head -n 1)
    [ -n "$major" ] || return 1
    echo "libclang-rt-$major-dev"
}

sp_setup() {
    if ! command -v dpkg-query >/dev/null 2>&1; then
        echo "This is not a Debian-like system. Install the equivalents of: ${sp_packages[*]}" \
             "and clang's compiler runtime (sanitizers, libFuzzer)" >&2
        command -v cmake >/dev/null && command -v ninja >/dev/null && return 0
        return 1
    fi
    sp_install "${sp_packages[@]}" || return 1
    local runtime
    if ! runtime=$(sp_clang_runtime_package); then
        echo "Cannot tell clang's version from 'clang --version'; install its compiler runtime" \
             "(libclang-rt-<major>-dev) by hand" >&2
        return 1
    fi
    sp_install "$runtime"
}

# Installs those of the named packages that are missing, as root; otherwise names them.
sp_install() {
    local missing
    missing=$(sp_missing_packages "$@" | tr '\n' ' ')
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

# Configures and builds one preset. A build folder is configured again when the presets
# have changed since it was last configured, or it was configured otherwise than by this
# function: a cache variable a preset sets only takes effect through a configure,
# which the build's own check of the CMakeLists does not run.
# Compiled objects are kept between builds, and between clones of the tree: paths inside the
# tree are hashed relative to it, so a fresh clone in another folder reuses what an earlier
# build compiled. Read by CMake when a build folder is first configured.
sp_compiler_cache() {
    command -v ccache >/dev/null 2>&1 || return 0
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
    # The precompiled test headers and the build's own time stamps would otherwise miss.
    export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
}

sp_build() {
    sp_compiler_cache
    local preset=$1
    shift
    local dir=build
    [ "$preset" = default ] || dir="build-$preset"
    local stamp="$dir/.sp-configured-preset"
    local wanted
    wanted="$preset $(cksum < CMakePresets.json)"
    if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$wanted" ]; then
        cmake --preset "$preset" >/dev/null || return 1
        echo "$wanted" > "$stamp"
    fi
    cmake --build --preset "$preset" "$@"
}
