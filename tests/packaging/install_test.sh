#!/usr/bin/env bash
# Installs the build into a temporary folder (DESTDIR, prefix /usr) and runs the installed
# programs from there, in a private home, as a user of the package would:
#   install_test.sh BUILD_DIR SOURCE_DIR
# Checks that the programs find their data, conduits, icons and guide relative to their own
# folder, that users' files go to the data folder of the home and never into the installation,
# that the menu entry and the AppStream metadata validate, and that the user guide has the
# text of every chapter.
# Exit code 77 (skipped) when a validator that scripts/setup.sh installs is missing.
set -u
build=$1
source_dir=$2

for tool in desktop-file-validate appstreamcli pdftotext; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed: skipped"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "cmake --install failed"; exit 1; }
usr="$work/root/usr"

mkdir -p "$work/home" "$work/config" "$work/data" "$work/run" "$work/etc"
chmod 700 "$work/run"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CONFIG_DIRS="$work/etc" XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run"
export FITQUILL_RUNTIME_DIR="$work/run" FITQUILL_TODAY=2024-03-15
unset FITQUILL_PALM_ROOT FITQUILL_CONDUITS DISPLAY WAYLAND_DISPLAY

for file in bin/fitquill bin/fitquill-hotsync bin/fitquill-desktop \
    lib/fitquill/conduits/conduits.ini lib/fitquill/conduits/Fitquill.so \
    lib/fitquill/conduits/Larderon.so share/fitquill/FoodDB.ddb share/fitquill/FoodDB.csv \
    share/fitquill/Extensions.csv share/fitquill/PalmOS/FQA-AppDB.pdb \
    share/fitquill/PalmOS/FQA-FoodDB.pdb "share/fitquill/Users Guide.pdf" \
    share/applications/fitquill-desktop.desktop \
    share/metainfo/org.fitquill.FitquillDesktop.metainfo.xml \
    share/icons/hicolor/scalable/apps/fitquill-desktop.svg \
    share/icons/hicolor/48x48/apps/fitquill-desktop.png \
    share/man/man1/fitquill.1.gz share/man/man1/fitquill-hotsync.1.gz \
    share/man/man1/fitquill-desktop.1.gz share/doc/fitquill/copyright; do
    [ -f "$usr/$file" ] || fail "not installed: $file"
done

"$usr/bin/fitquill" --help >"$work/help.txt" || fail "fitquill --help"
grep -q "^Usage: fitquill" "$work/help.txt" || fail "fitquill --help printed no usage"

"$usr/bin/fitquill-hotsync" conduits >"$work/conduits.txt" 2>&1 || fail "fitquill-hotsync conduits"
cat "$work/conduits.txt"
for module in Fitquill.so Larderon.so; do
    grep -qF "$usr/lib/fitquill/conduits/$module" "$work/conduits.txt" ||
        fail "the installed conduits do not list $module"
done

# Users go to the home's data folder; the installation receives nothing.
"$usr/bin/fitquill" users add Ann || fail "fitquill users add"
users="$work/data/fitquill/Fitquill/Desktop/Users"
[ -f "$users/Users.udb" ] && [ -d "$users/Ann" ] ||
    fail "the user list is not in \$XDG_DATA_HOME/fitquill"
[ -z "$(find "$work/root" -name Users.udb)" ] || fail "a user list was written into the installation"
# The installed tool finds the shipped default food database (a demo journal logs its foods).
"$usr/bin/fitquill" demo --user Ann --days 7 >/dev/null || fail "fitquill demo"

mkdir -p "$work/config/Quorvel"
printf '[CurrentUser]\nName=Ann\n' >"$work/config/Quorvel/Fitquill.conf"
shot="$work/shot.png"
printed=$(QT_QPA_PLATFORM=offscreen timeout 60 "$usr/bin/fitquill-desktop" --screenshot "$shot")
rc=$?
[ "$rc" -eq 0 ] || fail "fitquill-desktop --screenshot ended with $rc"
[ "$printed" = "$shot" ] && [ -s "$shot" ] || fail "no screenshot at $shot (printed '$printed')"

desktop-file-validate "$usr/share/applications/fitquill-desktop.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/org.fitquill.FitquillDesktop.metainfo.xml" ||
    fail "appstreamcli validate"

pdftotext -layout "$usr/share/fitquill/Users Guide.pdf" "$work/guide.txt" || fail "pdftotext"
chapters=0
while IFS= read -r heading; do
    chapters=$((chapters + 1))
    grep -qF -- "$heading" "$work/guide.txt" || fail "the guide lacks the chapter '$heading'"
done < <(sed -n 's/^## //p' "$source_dir/docs/user-guide.md")
[ "$chapters" -ge 10 ] || fail "only $chapters chapters found in docs/user-guide.md"
echo "$chapters chapters checked in the guide"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
