#!/usr/bin/env bash
# Installs the Debian package on a freshly bootstrapped Debian 12 and runs it there, as a student
# would get it: `apt-get install ./vantela_*.deb` must bring in everything the program needs, and
# the installed launcher, started from another folder, must show the main window and open windows
# that read the data files. Needs root (debootstrap, chroot, mounts) and the network.
#
#   packaging/check-fresh-debian.sh [PACKAGE.deb]     (default: the newest build/vantela_*.deb)
#
# MIRROR and SECURITY_MIRROR choose the archives; VANTELA_CHECK_CACHE keeps the packages debootstrap
# downloads between runs (default /var/cache/vantela-check); KEEP=1 leaves the root for a look.
# The package is installed with its dependencies only, which proves they are enough; RECOMMENDS=1
# installs the recommended packages too, as a plain `apt install` on a desktop does.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
deb=${1:-$(ls -t "$here"/../build/vantela_*.deb 2>/dev/null | head -1)}
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    echo "usage: $0 PACKAGE.deb (build one with make package)"
    exit 2
fi
deb=$(readlink -f "$deb")
if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=MIRROR,SECURITY_MIRROR,VANTELA_CHECK_CACHE,KEEP,RECOMMENDS bash "$0" "$deb"
fi
# Every mount below lives in a private mount namespace, so none outlives the check.
if [ -z "${VANTELA_CHECK_UNSHARED:-}" ]; then
    VANTELA_CHECK_UNSHARED=1 exec unshare --mount --propagation private bash "$0" "$deb"
fi

mirror=${MIRROR:-http://deb.debian.org/debian}
security=${SECURITY_MIRROR:-http://security.debian.org/debian-security}
cache=${VANTELA_CHECK_CACHE:-/var/cache/vantela-check}

step() { printf '\n== %s\n' "$*"; }
fail() { printf 'FAIL: %s\n' "$*"; exit 1; }

tools=()
command -v debootstrap >/dev/null || tools+=(debootstrap)
command -v Xvfb >/dev/null || tools+=(xvfb)
command -v xdotool >/dev/null || tools+=(xdotool)
command -v strace >/dev/null || tools+=(strace)
if [ ${#tools[@]} -gt 0 ]; then
    step "Installing the tools of the check: ${tools[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${tools[@]}" >/dev/null
fi

work=$(mktemp -d /var/tmp/vantela-fresh.XXXXXX)
root=$work/root
pids=()
cleanup() {
    local pid mounts
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    # Unmounts innermost first; the root is deleted only when nothing is mounted inside it.
    mounts=$(awk -v r="$root" '$2 == r || index($2, r "/") == 1 {print $2}' /proc/self/mounts | sort -r)
    for m in $mounts; do umount -l "$m" 2>/dev/null || true; done
    if awk -v r="$root" '$2 == r || index($2, r "/") == 1 {found = 1} END {exit !found}' /proc/self/mounts; then
        echo "left $work in place: something is still mounted in it"
    elif [ -n "${KEEP:-}" ]; then
        echo "kept $work"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

step "Bootstrapping a minimal Debian 12 in $root"
mkdir -p "$cache"
debootstrap --variant=minbase --cache-dir="$cache" bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 \
    || { tail -20 "$work/debootstrap.log"; fail "debootstrap failed"; }
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
# Commands inside run with a clean environment, as from a login.
clean_env=(/usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8)
in_root() { chroot "$root" "${clean_env[@]}" "$@"; }
in_root apt-get update -qq

step "The package"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
echo "Installed-Size: $(dpkg-deb -f "$deb" Installed-Size) KiB"
# What the package itself asks for: the toolkit, the fonts and their configuration library, and the
# C and C++ run-time.
for dep in $(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g'); do
    case $dep in
    libqt6* | fonts-* | libfontconfig1 | libc6 | libgcc-s1 | libstdc++6) ;;
    *) fail "the package depends on $dep, which is neither toolkit, font nor run-time" ;;
    esac
done

step "Installing it with apt-get"
cp "$deb" "$root/tmp/"
name=$(basename "$deb")
in_root apt-get install -s "./tmp/$name" | grep -E '^[0-9]+ upgraded' | sed 's/^/with recommended packages: /'
in_root dpkg-query -W -f='${Package}\n' | sort >"$work/before"
recommends=--no-install-recommends
[ -n "${RECOMMENDS:-}" ] && recommends=--install-recommends
in_root DEBIAN_FRONTEND=noninteractive apt-get install -y "$recommends" "./tmp/$name" >"$work/apt.log" 2>&1 \
    || { tail -20 "$work/apt.log"; fail "apt-get could not install the package"; }
grep -E '^[0-9]+ upgraded|^After this operation' "$work/apt.log"
in_root dpkg-query -W -f='${Package}\n' | sort >"$work/after"
new=$(comm -13 "$work/before" "$work/after" | grep -vx vantela)
echo "$(echo "$new" | wc -l) packages pulled in:" $new
echo "installed size of vantela: $(in_root dpkg-query -W -f='${Installed-Size}' vantela) KiB"
[ -x "$root/usr/bin/vantela" ] || fail "no launcher /usr/bin/vantela"
grep -qx 'Exec=/usr/bin/vantela' "$root/usr/share/applications/es.vantela.Vantela.desktop" \
    || fail "the desktop entry does not start the installed launcher"
# The faces the windows are drawn in, as the font configuration of the fresh system finds them.
for family in "Liberation Sans" "Liberation Serif" "Liberation Mono" "DejaVu Sans"; do
    [ "$(in_root fc-match -f '%{family}' "$family")" = "$family" ] || fail "no font $family"
done
echo "fonts found: Liberation Sans, Serif and Mono, DejaVu Sans"

step "Starting it off-screen from another folder"
mkdir -p "$root/tmp/elsewhere"
chroot "$root" "${clean_env[@]}" QT_QPA_PLATFORM=offscreen sh -c 'cd /tmp/elsewhere && exec vantela' \
    >"$work/offscreen.log" 2>&1 &
pid=$!
pids+=("$pid")
for _ in $(seq 50); do
    [ "$(readlink "/proc/$pid/exe" 2>/dev/null || true)" = "$root/usr/lib/vantela/vantela" ] && break
    sleep 0.1
done
[ "$(readlink "/proc/$pid/exe")" = "$root/usr/lib/vantela/vantela" ] || fail "the launcher did not start the program"
[ "$(readlink "/proc/$pid/cwd")" = "$root/usr/share/vantela" ] || fail "the program does not run in its data folder"
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$work/offscreen.log"; fail "the program ended at start"; }
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "running in /usr/share/vantela, still up after 2 s"

step "Opening windows on a virtual X display"
exec 3<>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=("$!")
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
display=:$(head -1 "$work/display")
export DISPLAY=$display
socket=/tmp/.X11-unix/X${display#:}
mkdir -p "$root/tmp/.X11-unix"
touch "$root$socket"
mount --bind "$socket" "$root$socket"
# The program runs under the X11 platform plugin of the installed toolkit; strace notes every
# file it opens.
strace -f -qq -e trace=openat -o "$work/files.log" \
    chroot "$root" "${clean_env[@]}" DISPLAY="$display" \
    sh -c 'cd /tmp/elsewhere && exec vantela' >"$work/x11.log" 2>&1 &
tracer=$!
pids+=("$tracer")

wait_window() { # title pattern
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    cat "$work/x11.log"
    fail "no window named $1"
}
# The error box is titled like the main window: a second one means a file was not found.
no_error_box() {
    [ "$(xdotool search --onlyvisible --name '^Vantela$' 2>/dev/null | wc -l)" -eq 1 ] \
        || fail "an error box opened ($1)"
}
menu() { # keys... : focuses the main window and types the keys one by one
    xdotool windowfocus --sync "$main"
    local key
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.2
    done
}
read_ok() { # file: opened by bare name in the data folder, and found
    grep -qE "openat\(AT_FDCWD, \"$1\", [^)]*\) = [0-9]+$" "$work/files.log" || fail "$1 was not read"
}

wait_window '^Vantela$'
main=$(xdotool search --onlyvisible --name '^Vantela$' | head -1)
echo "main window shown"
# Información Complementaria > Datos técnicos del HM-203: six rich texts.
menu alt+i Down Down Down Down Down Return
wait_window '^Datos técnicos$'
no_error_box "technical data"
for f in modof.rtf ampvcast.rtf basetie.rtf amphcast.rtf testc.rtf variosc.rtf; do read_ok "$f"; done
echo "technical data window shown, its six texts read"
# Práctica > Descripción del aparato: the front panel and its hand cursor.
menu alt+p Return
wait_window '^Descripción del aparato$'
no_error_box "front panel"
read_ok handgrab.cur
echo "front panel window shown, its cursor read"
# Ayuda > Temas de ayuda: the help pages.
menu alt+y Return
wait_window '^Vantela: Ayuda / Ajuda$'
read_ok Ayuda.html
echo "help window shown, its pages read"
if grep -E 'openat\(AT_FDCWD, "[^/"]+\.(rtf|bmp|cur|html)".*ENOENT' "$work/files.log"; then
    fail "a data file was missing"
fi
# Práctica > Salir ends the program.
menu alt+p Up Return
for _ in $(seq 100); do kill -0 "$tracer" 2>/dev/null || break; sleep 0.1; done
kill -0 "$tracer" 2>/dev/null && fail "Salir did not end the program"
status=0
wait "$tracer" || status=$?
[ "$status" -eq 0 ] || { cat "$work/x11.log"; fail "the program ended with status $status"; }
echo "Salir ended the program with status 0"
umount "$root$socket"

step "Removing it"
in_root apt-get purge -y -qq vantela >/dev/null 2>&1 || fail "apt-get could not remove the package"
for dir in usr/lib/vantela usr/share/vantela; do
    [ ! -e "$root/$dir" ] || fail "/$dir is left after removal"
done
echo "removed without leftovers"

printf '\nPASS: %s installs and runs on a fresh Debian 12\n' "$name"
