#!/usr/bin/env bash
# Fails when a file of a lower layer includes a header of a higher one, or when the core
# includes Qt or the service and the tables include the message catalogue. The layers, from
# the bottom: platform; encoding; service and tables; sync; launcher and ui. The
# user-interface interface and the codes (ui/interfaz_usuario.h, ui/codigos.h) are
# header-only targets of the ground floor.
set -euo pipefail
cd "$(dirname "$0")/.."

level() {
  case "$1" in
    ui/interfaz_usuario.h | ui/codigos.h | platform/*) echo 0 ;;
    encoding/*) echo 1 ;;
    service/* | tables/*) echo 2 ;;
    sync/*) echo 3 ;;
    launcher/* | ui/*) echo 4 ;;
    *) echo -1 ;;
  esac
}

failures=0
while IFS= read -r file; do
  own=$(level "${file#src/}")
  while IFS= read -r included; do
    theirs=$(level "$included")
    if ((theirs > own)); then
      echo "layering: $file includes $included, a higher layer"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^#include "\([a-z_]*\/[^"]*\)".*/\1/p' "$file")
  # The Qt widgets are the only part of src/ allowed to include Qt: the windows in ui/, and
  # the launcher's main window, its behaviour (lanzador*) and its program.
  if [[ "$file" != src/ui/* && "$file" != src/launcher/frm_autenticacion.* &&
    "$file" != src/launcher/lanzador* && "$file" != src/launcher/main.cpp ]] &&
    grep -q '^#include <Q' "$file"; then
    echo "layering: $file includes Qt outside the windows"
    failures=$((failures + 1))
  fi
done < <(find src -name '*.h' -o -name '*.cpp' | sort)

if grep -rln --include='*.h' --include='*.cpp' -e '#include "ui/mensajes.h"' -e '#include <Q' \
  src/service src/tables; then
  echo "layering: the files above reach the catalogue or Qt from the service or the tables"
  failures=$((failures + 1))
fi

if ((failures)); then exit 1; fi
echo "layering: every include points down"
