#!/bin/bash
# Builds everything, makes the sample application's executable with the builder, prints its
# configuration block with dump, and runs it under Wine with the diagnostic log switched on.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >build-demo.log 2>&1 || { cat build-demo.log; exit 1; }
rm -f build-demo.log
out=build/demo
rm -rf "$out/bin" "$out/jre"
mkdir -p "$out/bin"
builder=build/host/builder/launcher-builder
"$builder" build build/win/launcher/launcher.exe docs/sample/sample.toml "$out/bin/SampleApp.exe"
echo "== configuration block of $out/bin/SampleApp.exe"
"$builder" dump "$out/bin/SampleApp.exe"

# The sample's search sequence starts with ..\jre beside the executable's folder. Wine has no
# Windows Java runtime here, so that place gets the stub runtime of the tests: a java.exe that
# answers -version with 1.8.0_101 and a jvm.dll that records being loaded.
mkdir -p "$out/jre/bin/server"
cp build/win/fixtures/stubjava.exe "$out/jre/bin/java.exe"
cp build/win/fixtures/jvm.dll "$out/jre/bin/server/jvm.dll"
echo "== runtime: the stub runtime in $out/jre (a test double, not a real Java runtime)"

echo "== running it under Wine"
export E2E_WORK=$PWD/$out
source tests/e2e/lib.sh
trap e2e_wine_down EXIT
e2e_wine_up >/dev/null
rm -f "$E2E_TMP_DIR"/qmo_nlog_*
set +e
TARVO_LOG=yes timeout 60 wine "$out/bin/SampleApp.exe" -q_qmo_internal hello world >"$out/stdout.txt" 2>"$out/stderr.txt"
code=$?
set -e
echo "exit code: $code"
[ -s "$out/stderr.txt" ] && { echo "standard error:"; cat "$out/stderr.txt"; }
for log in "$E2E_TMP_DIR"/qmo_nlog_*; do
    [ -f "$log" ] || continue
    echo "== diagnostic log ($log)"
    tr -d '\r' <"$log"
done
[ -f "$out/jre/bin/server/jvm-record.txt" ] && { echo "== the stub runtime's record"; tr -d '\r' <"$out/jre/bin/server/jvm-record.txt"; }
exit 0
