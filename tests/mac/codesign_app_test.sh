#!/usr/bin/env bash
# scripts/codesign-app against a stand-in codesign that notes its calls: Sparkle's helpers are signed
# before the framework and the framework before the app, all with one identity; a release adds the
# hardened runtime and a time stamp everywhere, a development build neither; a release refuses to
# sign ad hoc.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

mkdir -p "$scratch/bin"
printf '#!/usr/bin/env bash\necho "$*" >>"$CODESIGN_LOG"\n' >"$scratch/bin/codesign"
chmod +x "$scratch/bin/codesign"
app="$scratch/Marlowick.app"
framework="$app/Contents/Frameworks/Sparkle.framework"
services="$framework/Versions/B/XPCServices"
mkdir -p "$services/Installer.xpc" "$services/Downloader.xpc" "$framework/Versions/B/Updater.app"
touch "$framework/Versions/B/Autoupdate"
ln -s B "$framework/Versions/Current"

failed=0
# Signs with the arguments and compares the calls made with the expected lines.
expect_calls() {
    local expected="$1"
    shift
    rm -f "$scratch/log"
    touch "$scratch/log"
    local status=0
    CODESIGN_LOG="$scratch/log" PATH="$scratch/bin:$PATH" \
        bash "$root/scripts/codesign-app" "$@" 2>/dev/null || status=$?
    local actual
    actual="$(sed "s|$scratch/||g" "$scratch/log")"
    if [ "$actual" != "$expected" ]; then
        echo "codesign-app $2: expected"
        echo "$expected"
        echo "but codesign was called with"
        echo "$actual"
        failed=1
    fi
    return "$status"
}

version="Marlowick.app/Contents/Frameworks/Sparkle.framework/Versions/Current"
release="--force --sign Developer ID --options runtime --timestamp"
expect_calls "$release --preserve-metadata=entitlements $version/XPCServices/Downloader.xpc
$release --preserve-metadata=entitlements $version/XPCServices/Installer.xpc
$release $version/Autoupdate
$release $version/Updater.app
$release Marlowick.app/Contents/Frameworks/Sparkle.framework
$release Marlowick.app" "Developer ID" release "$app"

development="--force --sign Marlowick Development --timestamp=none"
rm -rf "$framework"
expect_calls "$development Marlowick.app" "Marlowick Development" development "$app"

if expect_calls "" - release "$app"; then
    echo "codesign-app: a release signed ad hoc was accepted"
    failed=1
fi

[ "$failed" -eq 0 ] && echo "codesign-app: signs inside out with the mode's options"
exit "$failed"
