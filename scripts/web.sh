# Sourced by ./run --web and ./test --all after scripts/setup.sh: sets up and builds the
# browser page, a static folder build/web/ that any web server can host.

sp_web_packages=(emscripten node-acorn chromium nodejs)

# Debian's packages, then the npm packages of the committed lock file when they are missing
# or older than it.
sp_web_setup() {
    sp_install "${sp_web_packages[@]}" || return 1
    # Debian's nodejs comes without npm; NodeSource's carries its own
    command -v npm >/dev/null 2>&1 || sp_install npm || return 1
    if [ ! -f web/node_modules/.package-lock.json ] ||
       [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
        (cd web && npm ci --no-audit --no-fund) || return 1
    fi
}

# The core compiled by emscripten (its optimiser runs on Debian's acorn), the TypeScript
# bundled by esbuild, the page's files and the guides copied beside them. The guides'
# figures come from the desktop build, which must have been built first.
sp_web_build() {
    export NODE_PATH=/usr/share/nodejs
    local wasm=build-wasm out=build/web
    if [ ! -f "$wasm/build.ninja" ]; then
        emcmake cmake -S . -B "$wasm" -G Ninja -DSP_WEB=ON -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
    fi
    cmake --build "$wasm" || return 1
    (cd web && node_modules/.bin/tsc --noEmit -p .) || return 1
    mkdir -p "$out/docs"
    web/node_modules/.bin/esbuild web/src/main.ts web/src/worker.ts --bundle --minify \
        --target=es2020 --log-level=warning --outdir="$out" || return 1
    cp "$wasm/web/spcore.js" "$wasm/web/spcore.wasm" web/index.html web/style.css \
       docs/experiments.tsv "$out/" || return 1
    cp build/docs/spravka.html build/docs/spravka2.html docs/uprav.html docs/instruction.txt "$out/docs/" || return 1
    cp -r build/docs/figures "$out/docs/" || return 1
}
