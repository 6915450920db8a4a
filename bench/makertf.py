#!/usr/bin/env python3
"""Writes a large RTF file for the reading benchmark: the body of a LibreOffice-converted text
(Castilian, with formatting, a list and a table) repeated until the file reaches the wanted size.
Usage: makertf.py SOURCE.rtf OUTPUT.rtf MEGABYTES"""
import sys

source, output, megabytes = sys.argv[1], sys.argv[2], float(sys.argv[3])
data = open(source, 'rb').read()
end = data.rstrip().rindex(b'}')  # the document's closing brace
start = data.index(b'\\pard')  # the first paragraph: everything before is tables and settings
header, body = data[:start], data[start:end]
copies = max(1, int(megabytes * 1024 * 1024 / len(body)))
with open(output, 'wb') as f:
    f.write(header)
    for _ in range(copies):
        f.write(body)
    f.write(b'}\n')
