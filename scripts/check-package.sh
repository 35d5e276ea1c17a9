#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it as a support engineer would
# use it, installed in a scratch root: its files and dependencies, xamu-tool's version, and
# a first start from the desktop entry's command against xamu-service from the package,
# which makes the user's installation, synchronizes it and leaves a log.
# Usage: scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/xamu-launcher_*_*.deb)
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
root="$work/root"
dpkg-deb -x "$deb" "$root"
fail() { echo "package check: $*" >&2; exit 1; }

for f in usr/bin/xamu-launcher usr/bin/xamu-tool usr/bin/xamu-service \
  usr/libexec/xamu/LauncherXamuWEB.exe usr/share/xamu/template/XAMUwebIP.ini \
  usr/share/xamu/sample-content/sesion.ini usr/share/applications/xamu-launcher.desktop \
  usr/share/icons/hicolor/scalable/apps/xamu-launcher.svg \
  usr/share/man/man1/xamu-launcher.1.gz usr/share/man/man1/xamu-tool.1.gz \
  usr/share/man/man1/xamu-service.1.gz; do
  [ -e "$root/$f" ] || fail "$f is missing"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in qt6-qpa-plugins fonts-dejavu-core libqt6widgets6 libcurl4 libarchive13; do
  grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done
grep -qx 'Exec=xamu-launcher' "$root/usr/share/applications/xamu-launcher.desktop" ||
  fail "the desktop entry does not start xamu-launcher"
for page in xamu-launcher xamu-tool xamu-service; do
  zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q '^\.TH' || fail "$page.1 is no man page"
done
version=$("$root/usr/bin/xamu-tool" --version)
[ "$version" = "xamu-tool $(dpkg-deb -f "$deb" Version)" ] || fail "version $version"

# The package's own service, on its sample content without the user record and the update
# list, so that nothing waits for a user.
content="$work/content"
cp -r "$root/usr/share/xamu/sample-content" "$content"
python3 - "$content/sesion.ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
open(path, "w", encoding="utf-8").write(text[:text.index("[DatosUsuario]")] + "[Programas]\nActualizados=\n")
PY
"$root/usr/bin/xamu-service" --content "$content" > "$work/service.out" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/service.out" ] && break; sleep 0.1; done
url=$(sed -n 's/^listening on //p' "$work/service.out")

# A first start: the user has settings of their own, the launcher is put beside them.
export HOME="$work/home"
unset XDG_DATA_HOME XDG_STATE_HOME
install="$HOME/.local/share/Xamu"
mkdir -p "$install"
printf '[XAMUWIN]\nURLServ=%s\n' "$url" > "$install/XAMUwebIP.ini"
XAMU_CONTROL_INI="$work/none.ini" QT_QPA_PLATFORM=offscreen timeout 120 "$root/usr/bin/xamu-launcher" ||
  fail "the launcher ended with $?"
[ -x "$install/LauncherXamuWEB.exe" ] || fail "the launcher was not put in $install"
grep -q "URLServ=$url" "$install/XAMUwebIP.ini" || fail "the user's settings were replaced"
tables=$(ls "$install/ArchivosCDS" | wc -l)
[ "$tables" = 31 ] || fail "$tables tables synchronized, not 31"
log="$HOME/.local/state/xamu/launcher.log"
grep -q '] synchronization ended: CodigoError 0' "$log" || fail "no synchronization in the log"
tail -1 "$log" | grep -q '] exit 0$' || fail "the log does not end with the exit"
# What a support engineer would pipe into jq.
"$root/usr/bin/xamu-tool" sincronizar "$url" 17 203 | jq -e '.entries | length == 31' >/dev/null ||
  fail "sincronizar: not the JSON of 31 entries"
"$root/usr/bin/xamu-tool" cds-dump "$install/ArchivosCDS/Paises.cds" | jq -e '.rows | length > 0' >/dev/null ||
  fail "cds-dump: not the JSON of a table"
"$root/usr/bin/xamu-tool" doctor "$install" > "$work/doctor.txt" || true
grep -q '^ok       ArchivosCDS: 31 dataset files load$' "$work/doctor.txt" ||
  fail "doctor: $(cat "$work/doctor.txt")"
echo "package check: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) installs, starts, synchronizes $tables tables and logs"
