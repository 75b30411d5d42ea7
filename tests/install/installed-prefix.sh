#!/usr/bin/env bash
# Installs the build into a fresh prefix, moved elsewhere afterwards (a relocated prefix
# must work) and made read-only, then uses it: `setup`. `run` drives the installed editor
# (through the Qt Test program given) and velloria-cli in a fresh home and checks that the
# prefix is byte for byte as it was: as root, permission bits stop no write, so only the
# comparison proves that nothing was written there. `cleanup` removes it all.
#   installed-prefix.sh setup|run|cleanup BUILD_DIR WORK_DIR [EDITOR_TEST]
set -euo pipefail
step=$1 build=$2 work=$3
prefix=$work/prefix

remove_work() {
    [ -e "$work" ] && chmod -R u+w "$work"
    rm -rf "$work"
}

listing() {
    (cd "$prefix" && find . -printf '%p %y %m %s %T@\n' | sort &&
        find . -type f -exec sha256sum {} + | sort)
}

case "$step" in
setup)
    remove_work
    mkdir -p "$work"
    cmake --install "$build" --prefix "$work/staged" >/dev/null
    mv "$work/staged" "$prefix"
    chmod -R a-w "$prefix"
    listing >"$work/listing-before"
    ;;
run)
    editor_test=$4
    home=$work/home
    rm -rf "$home" && mkdir -p "$home"
    export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
    export XDG_CACHE_HOME=$home/cache XDG_DATA_DIRS=$prefix/share:/usr/share
    cd "$home"
    QT_QPA_PLATFORM=offscreen VELLORIA_INSTALLED_PROGRAM=$prefix/bin/velloria "$editor_test"

    cli=$prefix/bin/velloria-cli
    shared=$prefix/share/velloria
    "$cli" new show.jfs
    "$cli" add show.jfs "$shared"/samples/photos/*.jpg --link https://example.org/
    "$cli" publish show.jfs --to site >/dev/null
    cmp site/velloria.js "$shared/velloria.js"
    test -f site/show.html && test -f site/slider3.jpg
    # The sample project names its photos by absolute path: those of the prefix it was
    # installed into, before the move.
    "$cli" info --json "$shared/samples/sample.jfs" | grep -q "$work/staged/share/velloria/samples/photos/"

    listing >"$work/listing-after"
    if ! diff "$work/listing-before" "$work/listing-after"; then
        echo "The installed prefix changed (above)." >&2
        exit 1
    fi
    ;;
cleanup)
    remove_work
    ;;
esac
