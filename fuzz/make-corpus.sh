#!/usr/bin/env bash
# Writes the seed inputs of the fuzz targets into fuzz-corpus/seed-*/ (git-ignored).
# Usage: fuzz/make-corpus.sh [BUILD_DIR]   (default build-fuzz; needs its xamu-tool and
# xamu_fuzz_seeds)
# The 7z CLI, when installed, adds archives in methods our writer does not use.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-fuzz}"
tool="$build/tools/xamu-tool/xamu-tool"
out=fuzz-corpus
mkdir -p "$out"/seed-reader "$out"/seed-compressed
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A text table: 30000 bytes take the 7z path, its first 3000 the raw DEFLATE path.
seq 1 2000 | awk '{ printf "%06d;producto %d;Bogota;2024-%02d-%02d;%d;%d.%02d\n",
                    100000 + $1 * 7919 % 900000, $1 % 37, 1 + $1 % 12, 1 + $1 % 28,
                    $1 % 500, $1 * 31 % 99900, $1 % 100 }' > "$work/table.txt"
head -c 30000 "$work/table.txt" > "$work/large.txt"
head -c 3000 "$work/table.txt" > "$work/small.txt"
"$tool" compress "$work/large.txt" "$out/seed-compressed/comprimir-7z-30000"
"$tool" compress "$work/small.txt" "$out/seed-compressed/comprimir-deflate-3000"
# Zeros expand far beyond the input, so that the output buffers must grow.
head -c 19000 /dev/zero > "$work/zeros-19000"
head -c 300000 /dev/zero > "$work/zeros-300000"
"$tool" compress "$work/zeros-19000" "$out/seed-compressed/comprimir-deflate-zeros"
"$tool" compress "$work/zeros-300000" "$out/seed-compressed/comprimir-7z-zeros"

if [[ -x /usr/bin/7z ]]; then
  for method in LZMA2 PPMd BZip2 Deflate Copy; do
    /usr/bin/7z a -bso0 -bsp0 "-m0=$method" -mx9 "$work/$method.7z" "$work/large.txt" >/dev/null
    cp "$work/$method.7z" "$out/seed-compressed/cli-$method.7z"
  done
  # Several items, the first an empty file, with a compressed header.
  : > "$work/empty.txt"
  /usr/bin/7z a -bso0 -bsp0 -mhc=on "$work/items.7z" "$work/empty.txt" "$work/small.txt" \
    "$work/large.txt" >/dev/null
  cp "$work/items.7z" "$out/seed-compressed/cli-items.7z"
fi

# Reader seeds: count byte, read choices, value stream (see reader_fuzzer.cpp).
hex() { xxd -r -p; }
{ printf '0a 11 00 00 00 01 02 02 02 03 08 07'
  "$tool" vs-encode list int:5 int:300 int:70000 int64:10000000000 str:hola 'str:José' \
    'str:Αθήνα' float:1.5 end; } | hex > "$out/seed-reader/row"
# vaTrue, vaFalse, vaCurrency 1.2345, vaDouble 0.5, vaLString "abcd".
printf '04 06 06 05 04 02 09 08 10 39300000 00000000 15 000000000000e03f 0c 04000000 61626364' |
  hex > "$out/seed-reader/scalars"
{ printf '01 09 02'; "$tool" vs-encode 'str:Ñandú Güemes' list list int:-1 end end; } |
  hex > "$out/seed-reader/nested"

# Data packets, SOAP answers and packet structures (see seeds.cpp).
"$build/fuzz/xamu_fuzz_seeds" "$out"

ls -l "$out"/seed-*
