#!/usr/bin/env bash
# Lets a developer hear, as text, what Orca says in the virtual oscilloscope. Everything runs on a
# private X display with its own session bus, accessibility bus, speech server and Orca settings,
# so the desktop's own ones are never touched; nothing is played aloud.
#
# Usage: scripts/listen-with-orca.sh [options] [BUILD_DIR] [KEY...]
#   -f FILE   read the keys from FILE as well (whitespace-separated, "#" starts a comment)
#   -p SECS   pause after each key (default 1.5)
#   -l LANG   the program's language: es (default) or va ("Valencià" is pressed on the main window)
#   -o FILE   the transcript (default BUILD_DIR/orca-transcript.txt); beside it FILE.log keeps
#             Orca's whole debug log and FILE.speech what reached the speech server, with its language
# A key is anything `xdotool key` takes (Tab, shift+Tab, Right, space, Return, alt+h), or
# "sleep:SECS" for a longer wait. The program is opened from BUILD_DIR/app (default build), the
# oscilloscope through its menu as a student would, and the keys go to the oscilloscope's window.
# Each line of the transcript is one utterance, after the key that preceded it:
#   scripts/listen-with-orca.sh build Tab Tab Right space
#   scripts/listen-with-orca.sh -l va -p 2 -o /tmp/va.txt build Tab Tab Tab
set -euo pipefail

pause=1.5 language=es out='' keyfile=''
while getopts "f:p:l:o:h" opt; do
    case $opt in
    f) keyfile=$OPTARG ;;
    p) pause=$OPTARG ;;
    l) language=$OPTARG ;;
    o) out=$OPTARG ;;
    *) sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
build=build
if [ $# -gt 0 ] && { [ -d "$1" ] || [[ $1 == */* ]]; }; then
    build=$1
    shift
fi
out=${out:-$build/orca-transcript.txt}

die() {
    trap - ERR
    echo "listen-with-orca: $*" >&2
    # Once Orca listens, what it said up to the failure is worth keeping.
    if [ -n "${orca_pid:-}" ]; then
        local pid=$orca_pid
        orca_pid=
        finish "$pid" && echo "listen-with-orca: what Orca said until then is in $out" >&2
    fi
    exit 1
}

[ -x "$build/app/vantela" ] || die "no program at $build/app/vantela: build it first (make build)"
case $language in es | va) ;; *) die "language '$language': es or va" ;; esac
[ -z "$keyfile" ] || [ -r "$keyfile" ] || die "cannot read the key file $keyfile"
for tool in xvfb-run dbus-run-session openbox xdotool xprop orca speech-dispatcher /usr/bin/python3; do
    command -v "$tool" >/dev/null || die "$tool is missing (Debian: xvfb dbus openbox xdotool x11-utils orca speech-dispatcher)"
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || die "/usr/bin/python3 cannot import pyatspi (Debian: python3-pyatspi)"
# Orca refuses to start beside another Orca of the same user, wherever that one runs.
if pgrep -u "$(id -u)" -x orca >/dev/null; then
    die "another Orca of this user is running (pid $(pgrep -u "$(id -u)" -x orca | tr '\n' ' ')); Orca starts only once per user"
fi

if [ -z "${VANTELA_UNDER_XVFB:-}" ]; then
    export VANTELA_UNDER_XVFB=1
    build=$(cd "$build" && pwd)
    keys=("$@")
    if [ -n "$keyfile" ]; then
        read -r -a more <<<"$(sed 's/#.*//' "$keyfile" | tr '\n' ' ')"
        keys+=("${more[@]}")
    fi
    out=$(realpath -m "$out")
    # The buses' own chatter on start-up says nothing about what Orca said.
    exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
        bash "$0" -p "$pause" -l "$language" -o "$out" "$build" "${keys[@]}" \
        > >(grep --line-buffered -v '^SpiRegistry daemon is running') \
        2> >(grep --line-buffered -v '^dbus-daemon\[' >&2)
fi

# From here on: inside the private display and session bus.
keys=("$@")
work=$(mktemp -d /tmp/listen-with-orca.XXXXXX)
chmod 700 "$work"
mkdir -p "$work"/{config,data,cache,run,orca,locale,speech}
chmod 700 "$work/run"
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/run
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    # LISTEN_KEEP=1 keeps the scratch folder (settings, logs of the speech server) for a look.
    [ -n "${LISTEN_KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

# waits until the command succeeds, for at most $1 seconds
wait_for() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

openbox >/dev/null 2>&1 &
pids+=($!)
# The manager names itself a moment before it can raise windows.
wm_ready() { xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW; }
wait_for 10 wm_ready || die "openbox did not start"

# The accessibility bus and its registry start on demand on the session bus.
a11y=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>&1) ||
    die "the accessibility bus did not start (Debian: at-spi2-core): $a11y"
wait_for 10 /usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0).childCount' ||
    die "the accessibility registry does not answer on $a11y"

# A speech server of our own whose only voice writes each utterance, with its language, to a file:
# silent, and a second witness of what reached speech.
heard=$work/heard.txt
: >"$heard"
speechd=$XDG_CONFIG_HOME/speech-dispatcher
mkdir -p "$speechd/modules"
cat >"$speechd/speechd.conf" <<EOF
LogLevel 3
DefaultLanguage "es"
AudioOutputMethod "libao"
AddModule "transcript" "sd_generic" "transcript.conf"
DefaultModule transcript
EOF
cat >"$speechd/modules/transcript.conf" <<EOF
GenericExecuteSynth "printf '%s\\\\t%s\\\\n' \\'\$LANGUAGE\\' \\'\$DATA\\' >> $heard"
GenericLanguage "es" "es" "utf-8"
GenericLanguage "ca" "ca" "utf-8"
GenericLanguage "en" "en" "utf-8"
AddVoice "es" "MALE1" "es"
AddVoice "ca" "MALE1" "ca"
AddVoice "en" "MALE1" "en"
EOF
socket=$work/run/speechd.sock
export SPEECHD_ADDRESS=unix_socket:$socket
# libao's own "null" driver: the server insists on opening a sound device, and this one is silent.
mkdir -p "$work/speech/home"
echo default_driver=null >"$work/speech/home/.libao"
HOME=$work/speech/home speech-dispatcher -s -t 0 -c unix_socket -S "$socket" -C "$speechd" \
    -L "$work/speech" >"$work/speech/server.out" 2>&1 &
pids+=($!)
wait_for 10 test -S "$socket" || die "speech-dispatcher did not start: $(cat "$work/speech/server.out")"

# A student's desktop in Spain: Orca's own words (roles, states) and its voice follow the locale.
# Debian ships the locale's source even where it is not generated; a private copy does then.
if ! locale -a 2>/dev/null | grep -qix 'es_ES\.utf-\{0,1\}8'; then
    localedef -i es_ES -f UTF-8 "$work/locale/es_ES.UTF-8" 2>/dev/null ||
        [ -e "$work/locale/es_ES.UTF-8/LC_CTYPE" ] || die "cannot make the es_ES.UTF-8 locale (Debian: locales)"
    export LOCPATH=$work/locale
fi
export LANG=es_ES.UTF-8 LANGUAGE=es
unset LC_ALL

log=$work/orca-debug.log
# Each key is written down with the time it went, so that Orca's time-stamped words can be set under it.
stamp() { date +%H:%M:%S.%6N; }
marks=$work/marks.txt
mark() { printf '%s\t%s\n' "$(stamp)" "$1" >>"$marks"; }
# Stops Orca and writes the transcript: what Orca said, after the key that preceded it.
finish() {
    local pid=$1
    mark "(Orca quits)"
    # A clean exit on SIGTERM lets Orca say its last words and close its log.
    kill -TERM "$pid"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        echo "listen-with-orca: Orca did not quit within 10 s, and was killed" >&2
        kill -KILL "$pid"
    fi
    wait "$pid" || true

    cp "$log" "$out.log"
    cp "$heard" "$out.speech"
    /usr/bin/python3 - "$log" "$marks" >"$out" <<'PYTHON'
import re, sys
from datetime import datetime

def seconds(text):
    t = datetime.strptime(text, "%H:%M:%S.%f")
    return t.hour * 3600 + t.minute * 60 + t.second + t.microsecond / 1e6

# Orca's lines start with a time stamp; an utterance over several lines goes on with 18 spaces.
utterances, current = [], None
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    line = line.rstrip("\n")
    m = re.match(r"(\d\d:\d\d:\d\d\.\d{6}) - (.*)", line)
    if m:
        current = None
        if m.group(2).startswith("SPEECH OUTPUT: '"):
            current = [seconds(m.group(1)), m.group(2)[len("SPEECH OUTPUT: '"):]]
            utterances.append(current)
    elif current is not None and line.startswith(" " * 18):
        current[1] += " " + line[18:]
    else:
        current = None

# What follows the closing quote is the voice: a dict, or " voice=NAME" and the dict.
for u in utterances:
    u[1] = re.sub(r"'( voice=\S+)?\s*\{.*\}\s*$", "", u[1]).strip()

marks = []
for line in open(sys.argv[2], encoding="utf-8"):
    stamp, key = line.rstrip("\n").split("\t", 1)
    marks.append((seconds(stamp), key))

# The keys given are numbered from the oscilloscope's opening; those before it went to the main window.
step, opened = 0, False
for i, (when, key) in enumerate(marks):
    following = marks[i + 1][0] if i + 1 < len(marks) else float("inf")
    said = [text for t, text in utterances if when <= t < following]
    if key.startswith("sleep:"):
        if not said:
            continue
        label = "(after %s s more)" % key[len("sleep:"):]
    elif key.startswith("("):
        label = key
        opened = opened or key == "(the oscilloscope is open)"
    elif opened:
        step += 1
        label = "%d. %s" % (step, key)
    else:
        label = "main window: %s" % key
    print("%s → %s" % (label, " | ".join(said) if said else "(nothing)"))
PYTHON
}

mark "(Orca starts)"
trap 'die "the step on line $LINENO failed"' ERR
# Orca 43 opens its log with a block buffer, so that a hung Orca would lose its last seconds:
# it is started with that one file opened line by line instead.
/usr/bin/python3 - -d braille -u "$work/orca" --debug-file "$log" >"$work/orca.out" 2>&1 <<'PYTHON' &
import builtins, runpy, sys

log, plain_open = sys.argv[sys.argv.index("--debug-file") + 1], builtins.open

def open_line_by_line(file, mode="r", buffering=-1, *args, **kwargs):
    if file == log and "w" in mode:
        buffering = 1
    return plain_open(file, mode, buffering, *args, **kwargs)

builtins.open = open_line_by_line
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")
PYTHON
orca_pid=$!
pids+=("$orca_pid")
# Orca's first words ("Lector de pantalla activado") say it is up and speaking.
wait_for 30 test -s "$heard" || die "Orca did not speak within 30 s: $(cat "$work/orca.out")"

mark "(the program starts)"
(cd "$build/app" && exec ./vantela) >"$work/vantela.out" 2>&1 &
pids+=($!)
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vantela' | head -n 1) ||
    die "the program's main window did not show within 30 s: $(cat "$work/vantela.out")"
xdotool windowactivate --sync "$main"
wait_for 20 /usr/bin/python3 -c '
import pyatspi, sys
sys.exit(not any(a and a.name == "Vantela" for a in pyatspi.Registry.getDesktop(0)))' ||
    die "the program did not show up on the accessibility bus"
sleep "$pause"

# xdotool only warns about a key name it does not know, and the walk would go on off course.
send() {
    local complaint
    complaint=$(xdotool key "$1" 2>&1)
    [ -z "$complaint" ] || die "no key '$1' ($complaint)"
}

press() {
    mark "$1"
    case $1 in
    sleep:*) sleep "${1#sleep:}" ;;
    *+*)
        # Orca's key listener passes each key on after it has seen it: a chord typed in one go
        # can reach the program without its modifier, so the modifiers are held a moment.
        local parts
        IFS=+ read -r -a parts <<<"$1"
        xdotool keydown "${parts[@]:0:${#parts[@]}-1}"
        sleep 0.2
        send "${parts[-1]}"
        sleep 0.2
        xdotool keyup "${parts[@]:0:${#parts[@]}-1}"
        ;;
    *) send "$1" ;;
    esac
    sleep "$pause"
}

# The main window opens with the focus on "Valencià"; the menus follow the language.
if [ "$language" = va ]; then
    press space
    open=(alt+n Up Return) title='^Oscil·loscopi virtual'
else
    open=(alt+h Up Return) title='^Osciloscopio virtual'
fi
# The last item of the tools menu opens the oscilloscope.
for key in "${open[@]}"; do press "$key"; done
scope=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" | head -n 1) ||
    die "the virtual oscilloscope did not open with ${open[*]}"
mark "(the oscilloscope is open)"
xdotool windowactivate --sync "$scope"
sleep "$pause"
sleep "$pause"

for key in "${keys[@]}"; do press "$key"; done
mark "(end)"

pid=$orca_pid
orca_pid=
finish "$pid"
cat "$out"
echo "listen-with-orca: transcript in $out, Orca's log in $out.log, what reached speech in $out.speech" >&2
