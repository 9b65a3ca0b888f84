#!/usr/bin/env bash
# Installs the Windows installer silently under Wine, runs the installed
# orv.exe --help, then uninstalls it and checks that the folder is gone.
# Usage: installer-test.sh WINE_RUN WINEPREFIX INSTALLER.exe
set -euo pipefail
wine_run=$1
prefix=$2
installer=$3
[ -f "$installer" ] || { echo "no installer at $installer"; exit 1; }

run() { "$wine_run" --prefix "$prefix" "$@"; }
# The installer's own folder, as a user gets it.
target='C:\Program Files\ORV Duriza'
unix_target="$prefix/drive_c/Program Files/ORV Duriza"
if [ -x "$unix_target/Uninstall.exe" ]; then
  run "$target\\Uninstall.exe" /S "_?=$target" || true
fi
rm -rf "$unix_target"

run "$installer" /S
[ -f "$unix_target/orv.exe" ] || { echo "orv.exe was not installed"; exit 1; }
[ -f "$unix_target/orv-duriza.exe" ] || { echo "orv-duriza.exe was not installed"; exit 1; }
[ -f "$unix_target/platforms/qwindows.dll" ] || { echo "the platform plugin was not installed"; exit 1; }
[ -f "$unix_target/translations/orv_en.qm" ] || { echo "the English module was not installed"; exit 1; }
menu=$(find "$prefix/drive_c" -path '*Start Menu*' -iname 'ORV Duriza*.lnk' | head -1)
[ -n "$menu" ] || { echo "no Start-menu entry"; exit 1; }

# Only what the installed folder holds: no build or dependency folder on the path.
help=$(WINEPATH= run "$target\\orv.exe" --help)
echo "$help" | grep -q "konfiguracia" || { echo "orv.exe --help said: $help"; exit 1; }

run "$target\\Uninstall.exe" /S "_?=$target"
# The uninstaller may still be finishing after its first process has ended.
left=1
for _ in $(seq 120); do
  left=$( { find "$unix_target" -type f ! -name Uninstall.exe 2>/dev/null || true; } | wc -l)
  menu=$( { find "$prefix/drive_c" -path '*Start Menu*' -iname 'ORV Duriza*.lnk' 2>/dev/null || true; } | head -1)
  [ "$left" -eq 0 ] && [ -z "$menu" ] && break
  sleep 0.5
done
[ "$left" -eq 0 ] || { echo "uninstall left $left files"; find "$unix_target"; exit 1; }
[ -z "$menu" ] || { echo "uninstall left the Start-menu entry $menu"; exit 1; }
echo "installer: installed, ran orv.exe --help, uninstalled"
