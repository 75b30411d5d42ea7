#!/usr/bin/env bash
# The desktop entry, AppStream metainfo, MIME package, icons and manual pages of an
# installed prefix, checked with the desktop's own validators; exits 77 (skipped) when they
# are not installed (scripts/test installs them).
#   validate-desktop-files.sh PREFIX VELLORIA_CLI
set -euo pipefail
prefix=$1 cli=$2
for tool in desktop-file-validate appstreamcli xmllint man; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
share=$prefix/share
id=org.example.velloria.Velloria
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net --explain "$share/metainfo/$id.metainfo.xml"
appstreamcli validate-tree --no-net "$prefix"
xmllint --noout "$share/mime/packages/velloria.xml"
test -f "$share/icons/hicolor/scalable/apps/$id.svg"
test -f "$share/icons/hicolor/48x48/apps/$id.png"

# The manual pages render without warnings, and the page of velloria-cli describes exactly
# the commands its --help lists.
for page in "$share"/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
done
helped=$("$cli" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && /^  [a-z]/ { print $1 }' | sort)
documented=$(zcat "$share/man/man1/velloria-cli.1.gz" | sed -n '/^\.SH COMMANDS/,/^\.SH OPTIONS/p' |
    sed -n '/^\.TP/{n;p}' | sed -E 's/^\.B[IR]? "?([a-z-]+).*/\1/' | sort)
if [ "$helped" != "$documented" ]; then
    echo "velloria-cli(1) lists other commands than velloria-cli --help:" >&2
    diff <(echo "$documented") <(echo "$helped") >&2
    exit 1
fi
