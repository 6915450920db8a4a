#!/usr/bin/env bash
# Takes the README's picture: the program on a private 640 x 480 screen, with the front-panel
# explorer opened through the menu as a student would. Usage: scripts/screenshot.sh [BUILD_DIR].
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(cd "$(dirname "$0")/.." && pwd)/docs/screenshot.png
if [ -z "${VANTELA_UNDER_XVFB:-}" ]; then
    export VANTELA_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 640x480x24" bash "$0" "$build"
fi
openbox >/dev/null 2>&1 &
command -v xsetroot >/dev/null && xsetroot -solid '#3a6ea5'
sleep 1
(cd "$build/app" && exec ./vantela) &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT
main=$(xdotool search --sync --onlyvisible --name '^Vantela' | head -n 1)
xdotool windowactivate --sync "$main"
sleep 0.5
# "Práctica", then its first item, "Descripción del aparato"
xdotool mousemove --window "$main" 30 10 click 1
xdotool key Down Return
chooser=$(xdotool search --sync --onlyvisible --name '^Descripción del aparato')
sleep 0.5
# "Mandos del osciloscopio", the second link of the chooser
xdotool mousemove --window "$chooser" 180 70 click 1
xdotool search --sync --onlyvisible --name '^Mandos del Osciloscopio' >/dev/null
sleep 0.5
explorer=$(xdotool search --onlyvisible --name '^Mandos del Osciloscopio' | head -n 1)
# the Time/Div knob
xdotool mousemove --window "$explorer" 470 80 click 1
sleep 0.5
import -window root "$out"
echo "wrote $out"
