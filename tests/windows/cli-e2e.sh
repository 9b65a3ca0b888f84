#!/usr/bin/env bash
# orv.exe under Wine against the Linux simulator over loopback: konfiguracia
# (a wrong password refused, a non-ASCII one accepted), check-login and
# podania --json through WinHTTP, then the same listing through a proxy set
# in Wine's Internet settings, which must see the request.
# Usage: cli-e2e.sh WINE_RUN WINEPREFIX DLL_DIR SIMULATOR ORV_EXE
set -euo pipefail
wine_run=$1
prefix=$2
dll_dir=$3
sim=$4
orv=$5

scratch=$(mktemp -d)
pids=()
internet='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections'
cleanup() {
  "$wine_run" --prefix "$prefix" reg delete "$internet" /v DefaultConnectionSettings /f \
    >/dev/null 2>&1 || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
orv() { "$wine_run" --prefix "$prefix" --path "$dll_dir" "$orv" "$@"; }

password='Heslo-ľščťžýáíé'
"$sim" seed --db "$scratch/portal.db" --demo >/dev/null
printf '%s\n' "$password" |
  "$sim" account add --db "$scratch/portal.db" --subjekt S-WIN --osoba okno --heslo-stdin >/dev/null

mkfifo "$scratch/sim.out"
"$sim" serve --db "$scratch/portal.db" --port 0 --exit-after 600 >"$scratch/sim.out" 2>"$scratch/sim.log" &
pids+=($!)
exec 3<"$scratch/sim.out"
IFS= read -r -t 30 url <&3 || fail "the simulator did not start: $(cat "$scratch/sim.log")"
cat <&3 >/dev/null &
pids+=($!)

# A wrong password is refused and nothing is stored.
if out=$(printf 'zle\n' | orv konfiguracia --url "$url" --subjekt S-WIN --osoba okno 2>&1); then
  fail "konfiguracia accepted a wrong password: $out"
fi

# The password's UTF-8 bytes give the digest the simulator stored.
out=$(printf '%s\n' "$password" | orv konfiguracia --url "$url" --subjekt S-WIN --osoba okno 2>&1) ||
  fail "konfiguracia with the right password: $out"
out=$(orv check-login 2>&1) || fail "check-login: $out"

printf '%s\n' 'Demo-Heslo-2024' |
  orv konfiguracia --url "$url" --subjekt 10012345 --osoba demo >/dev/null 2>&1 ||
  fail "konfiguracia of the demo account"
json=$(orv podania --json 2>"$scratch/err") || fail "podania --json: $(cat "$scratch/err")"
count=$(printf '%s' "$json" | python3 -c 'import json,sys; print(len(json.load(sys.stdin)))') ||
  fail "podania --json is no JSON list: $json"
[ "$count" -gt 0 ] || fail "podania --json listed nothing"

# The proxy of the user's Internet settings carries the next call.
python3 "$(dirname "$0")/recording-proxy.py" --record "$scratch/proxy.log" --idle 300 >"$scratch/proxy.out" &
pids+=($!)
for _ in $(seq 50); do [ -s "$scratch/proxy.out" ] && break; sleep 0.1; done
proxy_port=$(head -1 "$scratch/proxy.out")
[ -n "$proxy_port" ] || fail "the proxy did not start"
settings=$(python3 - "$proxy_port" <<'PY'
import struct, sys
proxy = f"127.0.0.1:{sys.argv[1]}".encode()
# version, counter, flags (direct | manual proxy), proxy, bypass, script URL
blob = struct.pack("<III", 0x46, 1, 0x3) + struct.pack("<I", len(proxy)) + proxy
blob += struct.pack("<I", 0) + struct.pack("<I", 0) + b"\0" * 32
print(blob.hex())
PY
)
"$wine_run" --prefix "$prefix" reg add "$internet" /v DefaultConnectionSettings /t REG_BINARY \
  /d "$settings" /f >/dev/null
through=$(orv podania --json 2>"$scratch/err") || fail "podania through the proxy: $(cat "$scratch/err")"
[ "$through" = "$json" ] || fail "the listing through the proxy differs"
grep -qF "POST ${url} HTTP/1.1" "$scratch/proxy.log" ||
  fail "the proxy saw no request for $url: $(cat "$scratch/proxy.log" 2>/dev/null)"
echo "cli-e2e: konfiguracia, check-login, podania --json direct and through the proxy"
