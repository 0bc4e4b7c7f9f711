# Runtime layouts on disk and registry seeds for the runtime-search tables. Sourced by the
# test_runtime_*.sh files after lib.sh. Every layout is built from the stub runtime in
# FIXTURES_DIR (stubjava.exe as java.exe, jvm.dll, stubunpack.exe as unpack200.exe), so a search
# in a test only ever meets runtimes the test made.
#
# Files beside the stubs steer them: bin\java-version.txt (what -version prints), java-exit.txt,
# java-delay.txt (milliseconds), and they record: bin\java-runs.txt (one line per run),
# <vm>\jvm-record.txt ("loaded ..."), bin\unpack-runs.txt.

STUB_JAVA=$FIXTURES_DIR/stubjava.exe
STUB_JVM=$FIXTURES_DIR/jvm.dll
STUB_JVM_NO_ENTRY=$FIXTURES_DIR/jvmnoentry.dll
STUB_UNPACK=$FIXTURES_DIR/stubunpack.exe

# The cache and registries the launcher reads and writes, all under the test prefix.
CACHE_KEY='HKCU\Software\quorvian\tarvo\jvms'
LOCATED_USER_KEY='HKCU\Software\quorvian\tarvo\locatedjvms'
LOCATED_MACHINE_KEY='HKLM\Software\quorvian\tarvo\locatedjvms'
INSTALLATIONS_USER_KEY='HKCU\Software\quorvian\quillmote\installations'
INSTALLATIONS_MACHINE_KEY='HKLM\Software\quorvian\quillmote\installations'
JRE_KEY='HKLM\Software\JavaSoft\Java Runtime Environment'
JDK_KEY='HKLM\Software\JavaSoft\Java Development Kit'

# The host's own Java variables must never reach a search, nor the rig's default runtime.
unset JAVA_HOME JDK_HOME
E2E_DEFAULT_RUNTIME=

# make_runtime DIR VERSION_LINE [VM_SUBDIR...]: a runtime home at DIR with bin\java.exe printing
# VERSION_LINE for -version, and bin\<VM_SUBDIR>\jvm.dll for each subdirectory named.
make_runtime() {
    local dir=$1 line=$2 sub
    shift 2
    mkdir -p "$dir/bin"
    cp "$STUB_JAVA" "$dir/bin/java.exe"
    printf '%s\r\n' "$line" >"$dir/bin/java-version.txt"
    for sub in "$@"; do
        mkdir -p "$dir/bin/$sub"
        cp "$STUB_JVM" "$dir/bin/$sub/jvm.dll"
    done
}

# java_runs DIR: how often DIR\bin\java.exe (or javaw.exe) ran.
java_runs() {
    local runs=$1/bin/java-runs.txt
    [ -f "$runs" ] && grep -c '' "$runs" || echo 0
}

# Registry changes: `reg` prints nothing to the test's output; a failed change fails the case.
reg_quiet() {
    wine reg "$@" </dev/null >"$CASE_DIR/reg.out" 2>&1 && return 0
    fail "wine reg $* failed" "$(cat "$CASE_DIR/reg.out")"
    return 1
}

# Removes every key the runtime step reads or writes, so a case starts from an empty registry.
# One Windows process for all of them: each process start costs more than the deletion.
clear_runtime_registry() {
    wine cmd /c "reg delete HKCU\\Software\\quorvian /f & reg delete HKLM\\Software\\quorvian /f & \
reg delete HKLM\\Software\\JavaSoft /f" </dev/null >/dev/null 2>&1
}

# The log lines that trace the search, in order (everything else the launcher logs is noise here).
search_trace() {
    tr -d '\r' <"$LOG_FILE" | grep -a -E '^(Has |Using |Testing |checkJavaExe |Search sequence|found |Trying |Loading of|ERROR: |[^ ]+ exists$)'
}

# expect_log_sequence EXPECTED: the search trace, exactly (one line per line of EXPECTED).
expect_log_sequence() {
    local actual
    actual=$(search_trace)
    [ "$actual" == "$1" ] && return 0
    fail "search trace differs" "expected:" "$1" "actual:" "$actual"
}

# seed_registry: imports the .reg lines on standard input (UTF-8, without the header line) with
# regedit, which reads only UTF-16 files correctly.
seed_registry() {
    local file=$CASE_DIR/seed.reg
    { printf '\xff\xfe'; { printf 'Windows Registry Editor Version 5.00\n\n'; cat; } |
        sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$file"
    wine regedit /s "$(winpath "$file")" </dev/null >"$CASE_DIR/regedit.out" 2>&1 ||
        fail "regedit failed" "$(cat "$CASE_DIR/regedit.out")"
}

# reg_path DIR: the Windows path of DIR with its backslashes doubled, for .reg string values.
reg_path() { local p; p=$(winpath "$1"); printf '%s' "${p//\\/\\\\}"; }

# cached_version JAVA_EXE_WINDOWS_PATH: the version the cache holds for that executable (the key
# is the lower-case path with "/" for "\"), or nothing.
cached_version() {
    local key="HKCU\\Software\\quorvian\\tarvo\\jvms\\$(printf '%s' "${1,,}" | tr '\\' /)"
    wine reg query "$key" /v Version </dev/null >"$CASE_DIR/reg-query.out" 2>/dev/null || return 0
    tr -d '\r' <"$CASE_DIR/reg-query.out" | sed -n 's/^ *Version *REG_SZ *//p'
}

# ---------------------------------------------------------------------------------------------
# Real Windows runtimes (scripts/runtimes.sh): the fetched Temurin images, not the stubs above.
source "$REPO_ROOT/scripts/runtimes.sh"

# Java 21 and later print this on standard error at every start under Wine 8, several times.
WINE_AFFINITY_WARNING='OpenJDK 64-Bit Server VM warning: Attempt to get process group affinity failed: Call not implemented'

# link_real_runtime DIR LINE: DIR as a symbolic link to the fetched runtime of that Java line
# (Wine follows Unix links; a copy would cost 50 MB a layout).
link_real_runtime() {
    mkdir -p "$(dirname "$1")"
    rm -rf "$1"
    ln -s "$(runtime_home "$2")" "$1"
}

# real_stderr VAR: the case's standard error like read_text, less the affinity warning lines.
real_stderr() {
    # Not named "text": read_text has a local of that name, which printf -v would set instead.
    local all line kept=
    read_text all "$CASE_DIR/err"
    while [[ $all == *$'\n'* ]]; do
        line=${all%%$'\n'*}
        all=${all#*$'\n'}
        [ "$line" = "$WINE_AFFINITY_WARNING" ] || kept+=$line$'\n'
    done
    [ "$all" = "$WINE_AFFINITY_WARNING" ] || kept+=$all
    printf -v "$1" '%s' "$kept"
}
