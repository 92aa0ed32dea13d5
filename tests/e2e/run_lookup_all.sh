#!/usr/bin/env bash
# End to end under Wine and Xvfb: quorvix.exe in a folder of its own with a prepared data file,
# every extension pointed at a fake WHOIS server on a loopback address, Lookup All pressed from
# another process, a screenshot checked for red "Free" and blue "NA", Close, the saved list checked.
#   run_lookup_all.sh <quorvix.exe> <e2e_driver.exe> <folder for the screenshot>
set -u
exe=$1 driver=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
server=127.0.0.60

if [ -n "${QUORVIX_WINE_ENV:-}" ] && [ -f "$QUORVIX_WINE_ENV/env" ]; then
  . "$QUORVIX_WINE_ENV/env"
else
  echo "QUORVIX_WINE_ENV does not name a prepared Wine environment"; exit 1
fi

work=$(mktemp -d /tmp/qv-e2e.XXXXXX)
fake_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$fake_pid" ] && kill "$fake_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }

python3 "$here/fake_whois.py" --host "$server" --port 43 --lifetime 180 --max-connections 200 \
  --log "$work/queries.log" --ready "$work/ready" &
fake_pid=$!
for _ in $(seq 1 50); do [ -f "$work/ready" ] && break; sleep 0.1; done
[ -f "$work/ready" ] || fail "the fake WHOIS server did not start on $server:43"

cp "$exe" "$work/quorvix.exe"
wine "$driver" prepare "$(winpath "$work")" "$server" || fail "prepare"

(cd "$work" && exec wine ./quorvix.exe) &
app_pid=$!

wine "$driver" lookup-all 120 || fail "Lookup All did not check every row"

mkdir -p "$out"
shot="$out/e2e-lookup-all.png"
sleep 1
import -window root "$shot" || fail "no screenshot"
count() {  # pixels of exactly one colour
  convert "$shot" -alpha off +transparent "$1" -alpha extract -format '%[fx:round(mean*w*h)]' info:
}
red=$(count '#FF0000') blue=$(count '#0000FF')
echo "screenshot $shot: $red red pixels, $blue blue pixels"
[ "${red:-0}" -gt 20 ] || fail "no red \"Free\" in the screenshot"
[ "${blue:-0}" -gt 20 ] || fail "no blue \"NA\" in the screenshot"

wine "$driver" close 30 || fail "Close"
for _ in $(seq 1 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$app_pid" 2>/dev/null && fail "quorvix.exe did not end after Close"
app_pid=""

wine "$driver" verify "$(winpath "$work")\\quorvix.dcd" || fail "the saved list"

# .com, .net and .edu go out as "domain <name>", the others as the bare name.
grep -qx 'domain example-taken.com' "$work/queries.log" || fail "no \"domain\" query for .com"
grep -qx 'quorvix-demo.org' "$work/queries.log" || fail "no bare query for .org"
echo "queries: $(wc -l < "$work/queries.log")"
echo "PASS"
