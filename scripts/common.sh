# Shared by scripts/run and scripts/test: installs what is missing, then builds.
# shellcheck shell=bash

# Debian packages the build needs (the README says why each one is there).
VELLORIA_PACKAGES=(
    cmake g++ make pkg-config
    libjpeg62-turbo-dev liblcms2-dev
    libcli11-dev nlohmann-json3-dev
    qt6-base-dev
    librsvg2-bin
)

# GoogleTest: only a build with the tests needs it (Qt Test comes with qt6-base-dev);
# clang-format checks that the sources keep the house format.
TEST_PACKAGES=(libgtest-dev libgmock-dev clang-format)

velloria_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

# Installs the packages of the arguments that are not installed yet; nothing when all are.
ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures build/ once and builds incrementally: build_project with-tests|without-tests.
# A build configured with the tests keeps them; one without gets them when asked for.
build_project() {
    local root testing=OFF cache
    root=$(velloria_root)
    cache="$root/build/CMakeCache.txt"
    [ "$1" = with-tests ] && testing=ON
    if [ ! -f "$cache" ]; then
        cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=$testing
    elif [ $testing = ON ] && ! grep -qx 'BUILD_TESTING:BOOL=ON' "$cache"; then
        cmake -S "$root" -B "$root/build" -DBUILD_TESTING=ON
    fi
    cmake --build "$root/build" --parallel "$(nproc)"
}

# The browser tests: Debian's chromium, driven by playwright-core from npm.
BROWSER_TEST_PACKAGES=(chromium)

# The installation and package tests: validators of the desktop entry and the AppStream
# metainfo; dpkg-shlibdeps (with file) for the package's dependencies, and lintian.
PACKAGE_TEST_PACKAGES=(desktop-file-utils appstream man-db lintian dpkg-dev file)

# Installs node and npm from Debian only when neither is on the PATH: a newer node installed
# otherwise must not be replaced.
ensure_node() {
    command -v node >/dev/null && command -v npm >/dev/null && return 0
    ensure_packages nodejs npm
}

# Runs npm ci when node_modules is missing or older than package-lock.json.
ensure_node_modules() {
    local root
    root=$(velloria_root)
    if [ ! -d "$root/node_modules" ] || [ "$root/package-lock.json" -nt "$root/node_modules/.package-lock.json" ]; then
        (cd "$root" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --prefer-offline)
    fi
}

# Fails, naming the files, when a source file differs from what .clang-format makes of it.
check_format() {
    local root drifted
    root=$(velloria_root)
    drifted=$(cd "$root" && git ls-files '*.cpp' '*.h' |
        xargs clang-format --dry-run 2>&1 | grep -o '^[^: ]*\.\(cpp\|h\):' | sort -u || true)
    [ -z "$drifted" ] && return 0
    echo "These files differ from .clang-format (run clang-format -i on them):" >&2
    echo "$drifted" | tr -d ':' >&2
    return 1
}
