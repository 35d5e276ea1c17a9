#!/usr/bin/env bash
# The launcher end to end on this machine: builds it, the sample main application and the
# local vendor service, makes a fresh installation folder, starts the service on its sample
# content, runs LauncherXamuWEB.exe there and shows what XamuWEB.exe received.
#
# With a display it is the real interactive run: the user data form, the update offer, the
# downloads, the synchronization and the hand-off. Without one it runs the launcher under
# Xvfb on content that asks nothing of the user, and saves screenshots of its window.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target LauncherXamuWEB XamuWEB xamu-service >/dev/null

work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
install="$work/Xamu Web"
content="$work/content"
mkdir -p "$install"
cp build/src/launcher/LauncherXamuWEB.exe build/tools/xamu-web/XamuWEB.exe "$install/"
cp -r tools/xamu-service/sample-content "$content"

interactive=yes
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  interactive=
  echo "== no display: the launcher runs under Xvfb, on content that asks nothing of the user"
  echo "   (no user record, no program update); with a display this is the interactive run"
  python3 - "$content/sesion.ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
text = text[:text.index("[DatosUsuario]")] + "[Programas]\nActualizados=\n"
open(path, "w", encoding="utf-8").write(text)
PY
  mkdir -p "$work/fb"
  display=:$((90 + RANDOM % 9))
  Xvfb "$display" -screen 0 800x600x24 -fbdir "$work/fb" -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -e "$work/fb/Xvfb_screen0" ] && break; sleep 0.1; done
  export DISPLAY=$display
fi

build/tools/xamu-service/xamu-service --content "$content" --log "$work/requests.log" \
  > "$work/service.out" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/service.out" ] && break; sleep 0.1; done
url=$(sed -n 's/^listening on //p' "$work/service.out")
echo "== xamu-service listening on $url, installation folder: $install"
printf '[XAMUWIN]\nURLServ=%s\n' "$url" > "$install/XAMUwebIP.ini"

echo "== running LauncherXamuWEB.exe"
start=$(date +%s.%N)
# No control file: the installation is the launcher's own folder.
XAMU_CONTROL_INI="$work/no-control.ini" "$install/LauncherXamuWEB.exe" > "$work/handed-over.txt" &
launcher=$!
shots=0
if [ -z "$interactive" ]; then
  mkdir -p build/demo-screenshots
  rm -f build/demo-screenshots/*.png
  # The window as it changes, a frame every 50 ms while the launcher runs.
  while kill -0 "$launcher" 2>/dev/null; do
    cp "$work/fb/Xvfb_screen0" "$work/frame.xwd" 2>/dev/null || break
    if ! cmp -s "$work/frame.xwd" "$work/last.xwd" 2>/dev/null; then
      cp "$work/frame.xwd" "$work/last.xwd"
      shots=$((shots + 1))
      python3 scripts/xwd_to_png.py "$work/frame.xwd" "build/demo-screenshots/launcher-$shots.png"
    fi
    sleep 0.05
  done
fi
wait "$launcher" && code=0 || code=$?
end=$(date +%s.%N)
sleep 0.5  # XamuWEB.exe, started by the launcher, prints on its own

echo "== the launcher ended with exit code $code after $(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f", e - s }') s"
echo "   tables written: $(ls "$install/ArchivosCDS" | wc -l) in $install/ArchivosCDS"
echo "   service calls: $(cut -f4 "$work/requests.log" | grep -v '^-$' | sort | uniq -c | awk '{printf "%s %s, ", $1, $2}' | sed 's/, $//')"
if [ -s "$work/handed-over.txt" ]; then
  echo "== what the main application received"
  cat "$work/handed-over.txt"
else
  echo "== the main application was not started"
fi
[ -z "$interactive" ] && echo "== $shots screenshots of the window in build/demo-screenshots/"
exit 0
