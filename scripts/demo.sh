#!/bin/bash
# Builds everything, makes the sample application's executable with the builder, prints its
# configuration block with dump, and runs it under Wine with the diagnostic log switched on.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >build-demo.log 2>&1 || { cat build-demo.log; exit 1; }
rm -f build-demo.log
out=build/demo
rm -rf "$out/bin" "$out/lib" "$out/.quillmote" "$out/classes"
rm -f "$out/jre" 2>/dev/null || rm -rf "$out/jre"
mkdir -p "$out/bin" "$out/lib" "$out/.quillmote" "$out/classes"
builder=build/host/builder/launcher-builder
"$builder" build build/win/launcher/launcher.exe docs/sample/sample.toml "$out/bin/SampleApp.exe"
echo "== configuration block of $out/bin/SampleApp.exe"
"$builder" dump "$out/bin/SampleApp.exe"

# The application as it would ship: its jar beside the executable, an (empty) lib folder that the
# class path scans, the runtime library under .quillmote, and a VM options file.
jdk=/usr/lib/jvm/java-17-openjdk-amd64/bin
"$jdk/javac" --release 8 -d "$out/classes" docs/sample/src/com/example/SampleMain.java
"$jdk/jar" cf "$out/bin/sample.jar" -C "$out/classes" .
cp build/host/runtime-library/qmoruntime.jar "$out/.quillmote/"
cp docs/sample/SampleApp.vmoptions "$out/bin/"

# The sample's search sequence starts with ..\\jre beside the executable's folder. That place gets
# the newest real Windows Java runtime that was fetched (a Unix link, which Wine follows); without
# one (no registry reachable), the stub runtime of the tests: a java.exe that answers -version and
# a jvm.dll that runs no Java code but records every option and call it receives.
source scripts/runtimes.sh
./scripts/fetch-runtimes.sh || echo "(could not fetch the real runtimes)"
newest=$(available_runtimes | tail -1)
if [ -n "$newest" ]; then
    ln -s "$(runtime_home "$newest")" "$out/jre"
    echo "== runtime: Java $newest, $(head -1 "$out/jre/release" 2>/dev/null | tr -d '\r"' | sed 's/^JAVA_VERSION=//') from $(runtime_home "$newest")"
else
    mkdir -p "$out/jre/bin/server"
    cp build/win/fixtures/stubjava.exe "$out/jre/bin/java.exe"
    cp build/win/fixtures/jvm.dll "$out/jre/bin/server/jvm.dll"
    echo "== runtime: the STUB runtime in $out/jre (no real runtime could be fetched; it records what the VM would receive)"
fi

echo "== running it under Wine"
export E2E_WORK=$PWD/$out
source tests/e2e/lib.sh
trap e2e_wine_down EXIT
e2e_wine_up >/dev/null
rm -f "$E2E_TMP_DIR"/qmo_nlog_*
set +e
TARVO_LOG=yes timeout 60 wine "$out/bin/SampleApp.exe" hello "wide wörld" >"$out/stdout.txt" 2>"$out/stderr.txt"
code=$?
set -e
echo "exit code: $code"
[ -s "$out/stderr.txt" ] && { echo "standard error:"; cat "$out/stderr.txt"; }
for log in "$E2E_TMP_DIR"/qmo_nlog_*; do
    [ -f "$log" ] || continue
    echo "== diagnostic log ($log)"
    tr -d '\r' <"$log"
done
if [ -f "$out/bin/output.log" ]; then
    echo "== what the sample application printed (bin/output.log)"
    tr -d '\r' <"$out/bin/output.log"
fi
record=$out/jre/bin/server/jvm-record.txt
if [ -f "$record" ]; then
    echo "== what the VM received (the stub runtime's record)"
    tr -d '\r' <"$record"
fi
exit 0
