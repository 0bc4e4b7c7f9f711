#!/bin/bash
# What one runtime search costs under Wine: the sample search sequence with a stub runtime in
# ..\jre, started cold (empty version cache: java.exe runs) and warm (cached: no java.exe run).
# Prints the median wall time of each and the java.exe runs per start. Needs both trees built.
#   benchmarks/runtime_search_wine.sh [RUNS]
set -u
cd "$(dirname "$0")/.."
runs=${1:-9}
export E2E_WORK=$PWD/build/bench-search
source tests/e2e/lib.sh
source tests/e2e/runtime_lib.sh
trap e2e_wine_down EXIT
e2e_wine_up >/dev/null || exit 1
E2E_FILE=bench
new_case search
CASE_DIR=$E2E_WORK/cases/bench/search
make_exe --config "{'narrow': [(128, r'B..\jre;EQUILLMOTE_JAVA_HOME;Y;EJAVA_HOME;EJDK_HOME;'), (126, '1.7'), (127, '1.8')]}" || exit 1
mkdir -p "$CASE_DIR/bin" && mv "$EXE" "$CASE_DIR/bin/app.exe" && EXE=$CASE_DIR/bin/app.exe
make_runtime "$CASE_DIR/jre" 'java version "1.8.0_101"' server

# Milliseconds of one start.
timed_start() {
    local t0 t1
    t0=$(date +%s%N)
    run_exe
    t1=$(date +%s%N)
    echo $(( (t1 - t0) / 1000000 ))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

cold=()
for _ in $(seq 1 "$runs"); do
    clear_runtime_registry
    cold+=("$(timed_start)")
done
before=$(java_runs "$CASE_DIR/jre")
warm=()
for _ in $(seq 1 "$runs"); do warm+=("$(timed_start)"); done
after=$(java_runs "$CASE_DIR/jre")
echo "cold start (java.exe runs once): median $(printf '%s\n' "${cold[@]}" | median) ms over $runs"
echo "warm start (cached version):     median $(printf '%s\n' "${warm[@]}" | median) ms over $runs"
echo "java.exe runs: $before in $runs cold starts, $((after - before)) in $runs warm starts"
