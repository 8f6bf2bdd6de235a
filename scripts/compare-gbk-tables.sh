#!/usr/bin/env bash
# Compares two tables written by the GbkTable test: prints a summary and every difference.
# Lines: "D <bytes> <utf-8 of the decoded text>" and "E <code point> <bytes or none>".
set -euo pipefail
linux=$1 windows=$2
[ "$(wc -l <"$linux")" = "$(wc -l <"$windows")" ] || { echo "tables of different length"; exit 1; }
paste -d' ' "$linux" "$windows" | awk '
    $2 != $5 { print "misaligned tables"; exit 1 }
    $3 != $6 { n[$1]++; if (shown[$1]++ < 40) printf "%s %s: glibc %s, Windows %s\n", ($1 == "D" ? "bytes" : "U+"), $2, $3, $6 }
    END { printf "decoding differs for %d byte sequences, encoding for %d code points\n", n["D"], n["E"] }'
