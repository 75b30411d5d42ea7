#!/usr/bin/env bash
# Makes the Debian package with CPack into a scratch folder and checks it: the files an
# installation needs, the declared dependencies, the sample project pointing at /usr, and
# lintian's verdict (every finding is printed; errors fail). Exits 77 (skipped) without the
# Debian tools (scripts/test installs them).
#   check-package.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
for tool in cpack dpkg-deb dpkg-shlibdeps lintian file; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work"/velloria_*.deb)

fail() { echo "$deb: $*" >&2; exit 1; }
contents=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//')
for path in ./usr/bin/velloria ./usr/bin/velloria-cli ./usr/share/velloria/velloria.js \
    ./usr/share/velloria/help/index.html ./usr/share/velloria/samples/index.html \
    ./usr/share/velloria/samples/banner/index.html ./usr/share/velloria/samples/banner/slider0.jpg \
    ./usr/share/bash-completion/completions/velloria-cli \
    "./usr/share/velloria/templates/Wide Banner.jfs" \
    ./usr/share/applications/org.example.velloria.Velloria.desktop \
    ./usr/share/metainfo/org.example.velloria.Velloria.metainfo.xml \
    ./usr/share/mime/packages/velloria.xml \
    ./usr/share/icons/hicolor/48x48/apps/org.example.velloria.Velloria.png \
    ./usr/share/man/man1/velloria.1.gz ./usr/share/man/man1/velloria-cli.1.gz \
    ./usr/share/doc/velloria/copyright; do
    grep -qxF "$path" <<<"$contents" || fail "lacks $path"
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libjpeg62-turbo liblcms2-2 libqt6widgets6 qt6-qpa-plugins; do
    grep -q "\b$package\b" <<<"$depends" || fail "does not depend on $package: $depends"
done
dpkg-deb -x "$deb" "$work/root"
grep -q "/usr/share/velloria/samples/photos/" "$work/root/usr/share/velloria/samples/sample.jfs" ||
    fail "the sample project does not name the installed photos"

# lintian refuses to run as root without this.
lintian --allow-root --info --fail-on error "$deb"
