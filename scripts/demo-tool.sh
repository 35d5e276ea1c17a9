#!/usr/bin/env bash
# A short demonstration of xamu-tool: a hand-off argument for the main application, a proxy
# password in its stored form, a file compressed in both variants, and a synchronization
# against the local vendor service, whole and in packets.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target xamu-tool xamu-service >/dev/null
tool=build/tools/xamu-tool/xamu-tool
work=$(mktemp -d)
service_pid=
trap '[ -n "$service_pid" ] && kill "$service_pid"; rm -rf "$work"' EXIT

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

echo "== the local vendor service with its sample content"
build/tools/xamu-service/xamu-service --content tools/xamu-service/sample-content > "$work/service.out" &
service_pid=$!
for _ in $(seq 50); do [ -s "$work/service.out" ] && break; sleep 0.1; done
url=$(sed -n 's/^listening on //p' "$work/service.out")
echo "listening on $url"
"$tool" sincronizar "$url" 17 203 > "$work/whole.json"
"$tool" sincronizar "$url" 17 203 --paquetes 500 > "$work/packets.json"
cmp -s "$work/whole.json" "$work/packets.json" && same=identical || same=DIFFERENT
echo "tables served: $(grep -o '"IDObjeto"' "$work/whole.json" | wc -l); whole and in packets of 500 bytes: $same"

