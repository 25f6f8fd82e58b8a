#!/usr/bin/env bash
# A reinstall replaces the program and never the user's files.
set -euo pipefail
ROOT="$1"
BUILD="$2"
APP="$(mktemp -d)"
DATA="$(mktemp -d)" # the desktop's folders: menu entries and icons
trap 'rm -rf "$APP" "$DATA"' EXIT
install() { XDG_DATA_HOME="$DATA" LYREVANE_BUILD_DIR="$BUILD" LYREVANE_APP_DIR="$APP" "$ROOT/scripts/install-app" >/dev/null; }
fail() { echo "FAIL: $*"; exit 1; }

install
for f in lyrevane fonts.conf version.txt user.dat temp.dat data.dat save/mq1.rtf save/mq5.rtf; do
    [[ -e "$APP/$f" ]] || fail "first install lacks $f"
done
ls "$APP"/midi/*.mid >/dev/null 2>&1 || fail "first install lacks the music"

# The menu entry starts the program in its folder, and its icon is there in each size.
ENTRY="$DATA/applications/lyrevane.desktop"
grep -qx "Exec=$APP/lyrevane" "$ENTRY" || fail "menu entry does not start $APP/lyrevane"
grep -qx "Path=$APP" "$ENTRY" || fail "menu entry does not run in $APP"
grep -qx "Categories=Education;Literature;" "$ENTRY" || fail "menu entry categories"
grep -q "^Name\[zh_CN\]=" "$ENTRY" || fail "menu entry has no Chinese name"
for size in 16 32 48 256; do
    [[ -s "$DATA/icons/hicolor/${size}x${size}/apps/lyrevane.png" ]] || fail "no ${size}px icon"
done
[[ ! -e "$APP/lyrevane.desktop" && ! -e "$APP/icons" ]] || fail "desktop files copied into the app folder"

# A file an earlier install put down and this build no longer ships is removed.
echo "old" > "$APP/midi/withdrawn.mid"
echo "$APP/midi/withdrawn.mid" >> "$APP/.installed-files"
echo "old" > "$DATA/icons/hicolor/16x16/apps/withdrawn.png"
echo "$DATA/icons/hicolor/16x16/apps/withdrawn.png" >> "$APP/.installed-files"
head -c 6 "$APP/save/mq1.rtf" | grep -q '{\\rtf1' || fail "store file is not RTF"

# The user's work, and a settings file a run from the build tree might have left.
echo "mine" > "$APP/user.dat"
echo "poem" > "$APP/save/mq1.rtf"
printf '[temp]\r\nlist1=3\r\n' > "$APP/Mqini.ini"
printf '[temp]\r\nlist1=0\r\n' > "$BUILD/app/Mqini.ini"
trap 'rm -rf "$APP" "$DATA" "$BUILD/app/Mqini.ini"' EXIT

install
[[ ! -e "$APP/midi/withdrawn.mid" ]] || fail "a withdrawn file was left behind"
[[ ! -e "$DATA/icons/hicolor/16x16/apps/withdrawn.png" ]] || fail "a withdrawn icon was left behind"
[[ -s "$ENTRY" ]] || fail "reinstall lost the menu entry"
[[ "$(cat "$APP/user.dat")" == "mine" ]] || fail "user.dat overwritten"
[[ "$(cat "$APP/save/mq1.rtf")" == "poem" ]] || fail "save/mq1.rtf overwritten"
grep -q "list1=3" "$APP/Mqini.ini" || fail "Mqini.ini overwritten"
echo "1 passed, 0 failed"
