#!/usr/bin/env bash
# A reinstall replaces the program and never the user's files.
set -euo pipefail
ROOT="$1"
BUILD="$2"
APP="$(mktemp -d)"
trap 'rm -rf "$APP"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

LYREVANE_BUILD_DIR="$BUILD" LYREVANE_APP_DIR="$APP" "$ROOT/scripts/install-app" >/dev/null
for f in lyrevane fonts.conf user.dat temp.dat data.dat save/mq1.rtf save/mq5.rtf; do
    [[ -e "$APP/$f" ]] || fail "first install lacks $f"
done
head -c 6 "$APP/save/mq1.rtf" | grep -q '{\\rtf1' || fail "store file is not RTF"

# The user's work, and a settings file a run from the build tree might have left.
echo "mine" > "$APP/user.dat"
echo "poem" > "$APP/save/mq1.rtf"
printf '[temp]\r\nlist1=3\r\n' > "$APP/Mqini.ini"
printf '[temp]\r\nlist1=0\r\n' > "$BUILD/app/Mqini.ini"
trap 'rm -rf "$APP" "$BUILD/app/Mqini.ini"' EXIT

LYREVANE_BUILD_DIR="$BUILD" LYREVANE_APP_DIR="$APP" "$ROOT/scripts/install-app" >/dev/null
[[ "$(cat "$APP/user.dat")" == "mine" ]] || fail "user.dat overwritten"
[[ "$(cat "$APP/save/mq1.rtf")" == "poem" ]] || fail "save/mq1.rtf overwritten"
grep -q "list1=3" "$APP/Mqini.ini" || fail "Mqini.ini overwritten"
echo "1 passed, 0 failed"
