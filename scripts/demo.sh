#!/usr/bin/env bash
# A short demonstration of the encodings with xamu-tool: a hand-off argument for the main
# application, a proxy password in its stored form, and a file compressed in both variants.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target xamu-tool >/dev/null
tool=build/tools/xamu-tool/xamu-tool
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== hand-off for client 1, user 2, country 58, \"Banco del Norte\", \"María\""
text=$("$tool" handoff-encode 1 2 58 "Banco del Norte" "María")
echo "XamuWEB.exe $text"
"$tool" handoff-decode "$text"

echo "== the value stream inside it"
"$tool" vs-encode int:1 int:2 int:58 "str:Banco del Norte" "str:María" | tee "$work/hex"
printf '%b' "$(sed 's/\([0-9A-F][0-9A-F]\) */\\x\1/g' "$work/hex")" > "$work/record.bin"
"$tool" vs-dump "$work/record.bin"

echo "== proxy password as stored in XAMUwebIP.ini"
stored=$("$tool" password-encode "clave secreta")
echo "PasswordProxy=$stored"
"$tool" password-decode "$stored"

for size in 5000 50000; do
  head -c "$size" /usr/share/common-licenses/GPL-3 > "$work/in.txt"
  "$tool" compress "$work/in.txt" "$work/in.z"
  "$tool" decompress "$work/in.z" "$work/out.txt"
  cmp -s "$work/in.txt" "$work/out.txt" && same=identical || same=DIFFERENT
  kind=$(head -c 4 "$work/in.z" | od -An -tx1 | tr -d ' ')
  [ "$kind" = 377abcaf ] && kind="7z archive" || kind="raw DEFLATE"
  echo "== $size bytes -> $(stat -c %s "$work/in.z") bytes ($kind), decompressed: $same"
done
