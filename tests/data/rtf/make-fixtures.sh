#!/bin/sh
# Converts the two HTML sources into RTF with LibreOffice and pandoc. The converted files are
# committed as they came out, so the tests read files that no one here wrote by hand.
set -e
cd "$(dirname "$0")"
out=$(mktemp -d)
for name in castellano valencia; do
    soffice --headless --convert-to rtf:"Rich Text Format" --outdir "$out" "$name.html" >/dev/null 2>&1
    cp "$out/$name.rtf" "$name-libreoffice.rtf"
    pandoc -s -f html -t rtf -o "$name-pandoc.rtf" "$name.html"
done
rm -rf "$out"
