#!/usr/bin/env bash
# The Windows stage of the tests: builds the "windows" preset (velmora-cli.exe, the OPC DA
# proxy/stub DLL, velmora-simserver.exe), sets up a Wine prefix in build-windows/wineprefix
# (created once, reused while valid), registers the proxy/stub DLL and the COM simulation
# server, and compares what velmora-cli.exe prints through real, out-of-process COM with
# what the Linux velmora-cli prints against its in-process simulation.
# Run from the project root. CLI names the Linux velmora-cli (default build/bin/velmora-cli);
# JOBS the build's parallel jobs (default: the build tool's choice).
set -u
cd "$(dirname "$0")/../.."
CLI=${CLI:-build/bin/velmora-cli}
BIN=build-windows/bin
export WINEPREFIX=$PWD/build-windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
T=$(mktemp -d /tmp/velmora-wine.XXXXXX)
trap 'rm -rf "$T"' EXIT
failures=0
pass() { echo "  ok    $*"; }
fail() { echo "  FAIL  $*"; failures=$((failures + 1)); }
die() { echo "wine_test: $*" >&2; exit 1; }

[ -x "$CLI" ] || die "no Linux $CLI (build the release preset first)"
command -v wine >/dev/null || die "wine is not installed (scripts/install-deps.sh)"

echo "== Windows build (preset windows)"
cmake --preset windows >/dev/null || die "the windows preset does not configure"
cmake --build --preset windows ${JOBS:+-j "$JOBS"} >"$T/build.log" 2>&1 ||
  { tail -20 "$T/build.log"; die "the windows build failed"; }

echo "== Wine prefix $WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
  rm -rf "$WINEPREFIX"
  timeout 300 wineboot -i >"$T/wineboot.log" 2>&1 || { tail -5 "$T/wineboot.log"; die "wineboot failed"; }
  timeout 60 wineserver -w
fi
timeout 60 wine regsvr32 /s "$BIN/velmora-opcproxy.dll" || die "regsvr32 velmora-opcproxy.dll failed"
timeout 60 wine "$BIN/velmora-simserver.exe" /RegServer || die "velmora-simserver.exe /RegServer failed"

# wexe ARGS...: velmora-cli.exe under Wine, stdout in $T/w.out, stderr in $T/w.err (CRs
# removed), exit code in $T/w.rc. lcli ARGS...: the same for the Linux tool, in $T/l.*.
wexe() {
  timeout 120 wine "$BIN/velmora-cli.exe" "$@" >"$T/w.raw" 2>"$T/w.eraw"
  echo $? >"$T/w.rc"
  tr -d '\r' <"$T/w.raw" >"$T/w.out"
  tr -d '\r' <"$T/w.eraw" >"$T/w.err"
}
lcli() {
  "$CLI" "$@" >"$T/l.out" 2>"$T/l.err"
  echo $? >"$T/l.rc"
}
# The simulation configuration for both: a Linux path and its Wine form.
simconfig() {
  if [ $# -eq 0 ]; then
    unset VELMORA_SIM_CONFIG
    VELMORA_SIM_CONFIG_WINE=
  else
    printf '%s\n' "$@" >"$T/sim.ini"
    export VELMORA_SIM_CONFIG=$T/sim.ini
    VELMORA_SIM_CONFIG_WINE=$(winepath -w "$T/sim.ini" 2>/dev/null)
  fi
  # A server still running from an earlier step keeps its configuration: wait for it.
  timeout 30 wineserver -w
}
wexe_config() {
  if [ -n "${VELMORA_SIM_CONFIG_WINE:-}" ]; then
    VELMORA_SIM_CONFIG=$VELMORA_SIM_CONFIG_WINE wexe "$@"
  else
    wexe "$@"
  fi
}
same() {  # same WHAT FILE_A FILE_B (FILE_B from Linux); the files may be pipes
  cat "$2" >"$T/same.w"
  cat "$3" >"$T/same.l"
  if cmp -s "$T/same.w" "$T/same.l"; then
    pass "$1"
  else
    fail "$1: $(diff "$T/same.w" "$T/same.l" | head -4 | tr '\n' ' ')"
  fi
}
# Log lines without their time stamp and without durations, which differ by nature.
log_texts() { sed -E 's/^[0-9]{2}\/[A-Za-z]{3}\/[0-9]{4} [0-9:]{8}: //; s/ in [0-9]+ ms$//' "$1"; }

echo "== Server enumeration"
simconfig
wexe servers
lcli servers
same "servers: the DA 1.0 and 2.0 servers, descriptions and class ids" <(sort "$T/w.out") \
  <(sort "$T/l.out")
grep -q 'Velmora.SimServer.1' "$T/w.out" && pass "servers lists Velmora.SimServer.1" ||
  fail "servers does not list Velmora.SimServer.1: $(tail -1 "$T/w.err")"
wexe servers --da2
lcli servers --da2
same "servers --da2: the servers of the selection dialog" <(sort "$T/w.out") <(sort "$T/l.out")
wexe servers --registry
lcli servers --registry
same "servers --registry: the DA 1.0 and DA 2.0 categories" "$T/w.out" "$T/l.out"

echo "== Browsing"
wexe browse --server Velmora.SimServer.1
lcli browse --server Velmora.SimServer.1
same "browse: the whole address space" "$T/w.out" "$T/l.out"
same "browse: the connect log" <(log_texts "$T/w.err") <(log_texts "$T/l.err")
wexe browse --server Velmora.SimServer.1 --type Float --access read
lcli browse --server Velmora.SimServer.1 --type Float --access read
same "browse --type Float --access read" "$T/w.out" "$T/l.out"
wexe browse --server Velmora.SimServer.1 --find 'Temp*'
lcli browse --server Velmora.SimServer.1 --find 'Temp*'
same "browse --find" "$T/w.out" "$T/l.out"
wexe browse --server Velmora.SimServer.1 --filter '[!'
lcli browse --server Velmora.SimServer.1 --filter '[!'
same "browse with a filter the server refuses (exit code)" "$T/w.rc" "$T/l.rc"
same "browse with a filter the server refuses (message)" <(log_texts "$T/w.err" | tail -1) \
  <(log_texts "$T/l.err" | tail -1)

for server in Velmora.SimServerDA1.1 Velmora.SimServerNoBrowse.1; do
  wexe browse --server "$server"
  lcli browse --server "$server"
  same "browse $server: the space or its absence" "$T/w.out" "$T/l.out"
  same "browse $server: exit code" "$T/w.rc" "$T/l.rc"
  same "browse $server: the interfaces it lacks, in the log" <(log_texts "$T/w.err") \
    <(log_texts "$T/l.err")
done

echo "== Reads"
fixed=(Plant.Line1.Machine1.SetPoint Plant.Line1.Machine1.Mode Plant.Line1.Machine1.Running
       Plant.Line1.Tank1.SetPoint Plant.Line2.Machine2.Mode Plant.Utilities.Compressor.Running)
qualities=(Quality.Good Quality.GoodLocalOverride Quality.Uncertain Quality.UncertainEUExceeded
           Quality.Bad Quality.BadCommFailure Quality.BadOutOfService)
wexe read --server Velmora.SimServer.1 "${fixed[@]}" "${qualities[@]}" No.Such.Item
lcli read --server Velmora.SimServer.1 "${fixed[@]}" "${qualities[@]}" No.Such.Item
n=${#fixed[@]}
same "read: fixed values, qualities and types" <(head -n "$n" "$T/w.out" | cut -f1,2,3,5) \
  <(head -n "$n" "$T/l.out" | cut -f1,2,3,5)
same "read: qualities and types of the quality items" <(sed -n "$((n + 1)),\$p" "$T/w.out" | cut -f1,3,5) \
  <(sed -n "$((n + 1)),\$p" "$T/l.out" | cut -f1,3,5)
grep -q $'^No.Such.Item\tThe ItemID is not in the OPC Server Address Space\tError Code: C0040007$' \
  "$T/w.out" && pass "read: the refused item with its text and code" ||
  fail "read: the refused item is not reported as on Linux"
same "read: exit code with a refused item" "$T/w.rc" "$T/l.rc"
same "read: the item addition report and log" <(log_texts "$T/w.err") <(log_texts "$T/l.err")
wexe read --server Velmora.SimServer.1 --device Plant.Line1.Machine2.SetPoint
lcli read --server Velmora.SimServer.1 --device Plant.Line1.Machine2.SetPoint
same "read --device" <(cut -f1,2,3,5 "$T/w.out") <(cut -f1,2,3,5 "$T/l.out")

wexe read --server Velmora.SimServerDA1.1 Sine_I1 Sine_R8
lcli read --server Velmora.SimServerDA1.1 Sine_I1 Sine_R8
same "read from the DA 1.0 server: qualities and types" <(cut -f1,3,5 "$T/w.out") \
  <(cut -f1,3,5 "$T/l.out")
wexe read --server No.Such.Server X
lcli read --server No.Such.Server X
same "read from an unknown program id: the log and exit code" \
  <(log_texts "$T/w.err"; cat "$T/w.rc") <(log_texts "$T/l.err"; cat "$T/l.rc")

echo "== Faults through COM"
simconfig '[server Velmora.SimServer.1]' 'shutdown_after_ms = 0' \
  'shutdown_reason = "Planned maintenance"' 'read_error = 0x80004005'
wexe_config read --server Velmora.SimServer.1 Plant.Line1.Machine1.SetPoint
lcli read --server Velmora.SimServer.1 Plant.Line1.Machine1.SetPoint
grep -q 'Shutdown Request from OPC Server Velmora.SimServer.1 (Reason: Planned maintenance)' \
  "$T/w.err" && pass "the server's shutdown request reaches the client's sink" ||
  fail "no shutdown request under Wine: $(tail -2 "$T/w.err" | tr '\n' ' ')"
same "shutdown request and failing read: the log" <(log_texts "$T/w.err") <(log_texts "$T/l.err")
same "failing read: exit code" "$T/w.rc" "$T/l.rc"
simconfig

echo "== Every forwarded call: through COM and in process"
timeout 120 wine "$BIN/velmora-comcheck.exe" >"$T/check.raw" 2>&1
check_rc=$?
tr -d '\r' <"$T/check.raw" | sed 's/^/  /'
[ "$check_rc" -eq 0 ] || fail "velmora-comcheck.exe: the transcripts differ (exit code $check_rc)"

echo "== Per-item read failures and non-ASCII ids"
simconfig '[server Velmora.SimServer.1]' 'unreadable_item = Plant.Line1.Machine1.Mode'
wexe_config read --server Velmora.SimServer.1 Plant.Line1.Machine1.SetPoint Plant.Line1.Machine1.Mode
lcli read --server Velmora.SimServer.1 Plant.Line1.Machine1.SetPoint Plant.Line1.Machine1.Mode
same "an item whose read fails: exit code 1 on both" <(cat "$T/w.rc"; echo) <(echo 1; echo)
same "an item whose read fails: its code and text" <(grep 'the read of' "$T/w.err") \
  <(grep 'the read of' "$T/l.err")
simconfig
uid='Zürich.Température'
wexe read --server Velmora.SimServer.1 "$uid"
lcli read --server Velmora.SimServer.1 "$uid"
grep -q "^$uid	" "$T/w.out" && pass "a non-ASCII item id comes back whole in the refusal" ||
  fail "the non-ASCII item id is not whole: $(head -1 "$T/w.out")"
same "a non-ASCII item id: the refusal line" "$T/w.out" "$T/l.out"

echo "== Recording through COM"
# Windows paths of the files, and velmora-cli.exe in the background (its Unix pid in $wpid).
win() { winepath -w "$1" 2>/dev/null; }
wexe_bg() {
  wine "$BIN/velmora-cli.exe" "$@" >"$T/bg.raw" 2>"$T/bg.eraw" &
  wpid=$!
}
rows() { sqlite3 "$1" "select count(*) from OPCAcqData where OPCAcq_Id=$2"; }
wdb=$T/win.sq3
wexe db init --database "$(win "$wdb")"
same "db init under Wine" "$T/w.rc" <(echo 0)
wexe project import "$(win "$PWD/examples/demo-plant.vproj")" --database "$(win "$wdb")"
same "project import under Wine" "$T/w.rc" <(echo 0)
wexe project list --database "$(win "$wdb")"
lcli project list --database "$wdb"
same "project list: Windows and Linux read the same database" "$T/w.out" "$T/l.out"
wexe acquire --database "$(win "$wdb")" --project "Demo Plant" --seconds 10
n=$(rows "$wdb" 1)
c=$(sqlite3 "$wdb" "select OPCAcq_DataCount from OPCAcq where OPCAcq_Id=1")
[ "$(cat "$T/w.rc")" = 0 ] && [ "$n" -ge 9 ] && [ "$n" = "$c" ] &&
  grep -q "$n recorded" "$T/w.out" && pass "10 s recorded through COM: $n data sets, count and summary agree" ||
  fail "the recording under Wine: exit $(cat "$T/w.rc"), $n rows, count $c: $(tail -1 "$T/w.err")"
wexe acquisitions export 1 --database "$(win "$wdb")" --output "$(win "$T/w.csv")"
lcli acquisitions export 1 --database "$wdb" --output "$T/l.csv"
same "the export of the Windows recording: Windows and Linux byte for byte" "$T/w.csv" "$T/l.csv"
for action in list "show 1" "copy 1"; do
  # shellcheck disable=SC2086
  wexe acquisitions $action --database "$(win "$wdb")"
  # shellcheck disable=SC2086
  lcli acquisitions $action --database "$wdb"
  same "acquisitions $action of the Windows recording on both builds" "$T/w.out" \
    <(tr -d '\r' <"$T/l.out")
done
ldb=$T/linux.sq3
lcli db init --database "$ldb"
lcli project import examples/demo-plant.vproj --database "$ldb"
lcli acquire --database "$ldb" --project "Demo Plant" --seconds 30 --simulated-clock
wexe acquisitions export 1 --database "$(win "$ldb")" --output "$(win "$T/w2.csv")"
lcli acquisitions export 1 --database "$ldb" --output "$T/l2.csv"
same "the export of a Linux recording: Windows and Linux byte for byte" "$T/w2.csv" "$T/l2.csv"
# Non-ASCII file and project names through the wide file functions.
cp "$ldb" "$T/Zürich.sq3"
cp examples/demo-plant.vproj "$T/Démo.vproj"
wexe project import "$(win "$T/Démo.vproj")" --name "Démo Zürich" --database "$(win "$T/Zürich.sq3")"
grep -q "^Project 'Démo Zürich' imported" "$T/w.out" && pass "a non-ASCII project file and name" ||
  fail "non-ASCII project import: exit $(cat "$T/w.rc"): $(tail -1 "$T/w.err")"
wexe acquisitions export 1 --database "$(win "$T/Zürich.sq3")" --output "$(win "$T/Température.csv")"
same "an export between non-ASCII file names" "$T/Température.csv" "$T/l2.csv"

echo "== The server killed during a --reconnect run"
timeout 30 wineserver -w
rdb=$T/reconnect.sq3
cp "$T/linux.sq3" "$rdb"
wexe_bg acquire --database "$(win "$rdb")" --project "Demo Plant" --seconds 16 --reconnect
sleep 7
# Wine's rpcss keeps the dead server's class registration (Windows' service control
# manager drops it when the server's process ends): it goes with the server.
timeout 30 wine taskkill /F /IM velmora-simserver.exe /IM rpcss.exe >/dev/null 2>&1
wait "$wpid"
rc=$?
tr -d '\r' <"$T/bg.raw" >"$T/bg.out"
tr -d '\r' <"$T/bg.eraw" >"$T/bg.err"
acqs=$(sqlite3 "$rdb" "select count(*) from OPCAcq")
n=$(rows "$rdb" 2)
c=$(sqlite3 "$rdb" "select OPCAcq_DataCount from OPCAcq where OPCAcq_Id=2")
[ "$rc" = 0 ] && [ "$acqs" = 2 ] && [ "$n" = "$c" ] && [ "$n" -ge 8 ] &&
  pass "a new server started by COM, the recording went on in the same acquisition ($n data sets)" ||
  fail "reconnect run: exit $rc, $acqs acquisitions, $n rows, count $c: $(tail -2 "$T/bg.err" | tr '\n' ' ')"
grep -q "Connection to Server Restored" "$T/bg.err" && pass "the restored connection is logged" ||
  fail "no 'Connection to Server Restored' in the log"

echo "== The recorder killed, then repaired"
timeout 30 wineserver -w
kdb=$T/killed.sq3
cp "$T/linux.sq3" "$kdb"
wexe_bg acquire --database "$(win "$kdb")" --project "Demo Plant"
sleep 6
# The recording lock (LockFileEx) keeps a second Windows process from repairing it now.
wexe acquisitions repair 2 --database "$(win "$kdb")"
[ "$(cat "$T/w.rc")" = 1 ] && ! grep -q '^repaired' "$T/w.out" &&
  pass "a running Windows recording is not repaired under it (recording lock)" ||
  fail "repair during the recording: exit $(cat "$T/w.rc"): $(head -1 "$T/w.out")"
kill -KILL "$wpid"
wait "$wpid" 2>/dev/null
timeout 30 wine taskkill /F /IM velmora-cli.exe >/dev/null 2>&1
timeout 30 wine taskkill /F /IM velmora-simserver.exe /IM rpcss.exe >/dev/null 2>&1
timeout 30 wineserver -w
n=$(rows "$kdb" 2)
wexe acquisitions repair 2 --database "$(win "$kdb")"
grep -q "^repaired: end .*, $n data sets$" "$T/w.out" && [ "$(cat "$T/w.rc")" = 0 ] &&
  pass "acquisitions repair closes the killed recording ($n data sets)" ||
  fail "repair after a kill: exit $(cat "$T/w.rc"): $(cat "$T/w.out" "$T/w.err" | tail -2 | tr '\n' ' ')"
[ "$(sqlite3 "$kdb" "select OPCAcq_DataCount from OPCAcq where OPCAcq_Id=2")" = "$n" ] &&
  pass "the repaired count is the rows recorded" || fail "the repaired count differs from the rows"

echo "== Expressions"
wexe eval '2 * (3 + 4.5)'
lcli eval '2 * (3 + 4.5)'
same "eval" "$T/w.out" "$T/l.out"

timeout 30 wineserver -w
if [ "$failures" -ne 0 ]; then
  echo "wine_test: $failures check(s) failed"
  exit 1
fi
echo "wine_test: every check passed"
