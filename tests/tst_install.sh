#!/usr/bin/env bash
# Installs the program into a scratch prefix as `make install` does, checks what lands where and
# that the desktop entry and the AppStream metadata validate, then starts the installed program
# from another folder and checks that it runs inside its data folder.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
prefix="$scratch/prefix with blank"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
data="$prefix/share/vantela"
[ -x "$prefix/bin/vantela" ] || fail "no launcher in bin"
[ -x "$prefix/lib/vantela/vantela" ] || fail "no program in lib/vantela"
# It links only system libraries, found where the system keeps them: it carries no search path.
if readelf -d "$prefix/lib/vantela/vantela" | grep -qE 'R(UN)?PATH'; then
    fail "the installed program carries a library search path"
fi
# Every data file the build laid out is installed, and nothing else lies among them.
for file in "$build"/app/*; do
    name=$(basename "$file")
    [ "$name" = vantela ] && continue
    cmp -s "$file" "$data/$name" || fail "data file $name not installed"
done
[ ! -e "$data/vantela" ] || fail "the program lies among the data files"
for size in 16 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/es.vantela.Vantela.png"
    [ -s "$icon" ] || fail "no ${size} px icon"
done
desktop="$prefix/share/applications/es.vantela.Vantela.desktop"
desktop-file-validate "$desktop" || fail "desktop entry does not validate"
grep -qx "Exec=$prefix/bin/vantela" "$desktop" || fail "desktop entry does not start the installed launcher"
grep -qx "Path=$data" "$desktop" || fail "desktop entry does not start in the data folder"
appstreamcli validate --no-net "$prefix/share/metainfo/es.vantela.Vantela.metainfo.xml" >/dev/null \
    || fail "AppStream metadata does not validate"

# Started from elsewhere, the program runs in its data folder.
mkdir "$scratch/elsewhere"
cd "$scratch/elsewhere"
QT_QPA_PLATFORM=offscreen "$prefix/bin/vantela" &
pid=$!
for _ in $(seq 50); do
    [ "$(readlink /proc/$pid/exe 2>/dev/null || true)" = "$prefix/lib/vantela/vantela" ] && break
    sleep 0.1
done
[ "$(readlink /proc/$pid/exe)" = "$prefix/lib/vantela/vantela" ] || fail "the launcher did not start the program"
[ "$(readlink /proc/$pid/cwd)" = "$data" ] || fail "the program does not run in its data folder"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the installed program ended at start"
echo "1 passed, 0 failed"
