# Shared harness of the end-to-end tests: one Wine session, test executables made with
# blockwriter.py, runs with a timeout, and expectations on what a user or the OS sees.
# Sourced by run.sh; test_*.sh files use the functions below.
#
# Output of every run goes to files, never pipes: Wine keeps a pipe open as long as any
# process of the session lives, which would stall the tests.

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO_ROOT=$(cd "$E2E_DIR/../.." && pwd)

absolute() { realpath -m "$1"; }
LAUNCHER_EXE=$(absolute "${LAUNCHER_EXE:-$REPO_ROOT/build/win/launcher/launcher.exe}")
FIXTURES_DIR=$(absolute "${FIXTURES_DIR:-$REPO_ROOT/build/win/fixtures}")
BUILDER=$(absolute "${BUILDER:-$REPO_ROOT/build/host/builder/launcher-builder}")
E2E_WORK=$(absolute "${E2E_WORK:-$REPO_ROOT/build/e2e}")
E2E_TIMEOUT=${E2E_TIMEOUT:-30}          # seconds for one launcher run
BOX_TIMEOUT_MS=${BOX_TIMEOUT_MS:-10000}  # how long mbhelper waits for a box
MBHELPER=$FIXTURES_DIR/mbhelper.exe
BLOCKWRITER=$E2E_DIR/blockwriter.py
# The interpreter itself, resolved once: a version-manager shim costs a second per call.
PYTHON=${PYTHON:-$(python3 -c 'import sys; print(sys.executable)')}
E2E_RESULTS=$E2E_WORK/results.txt

# The launcher reads these; a value inherited from the caller's shell would change every test.
unset TARVO_LOG QUILLMOTE_LOG TARVO_JAVA_HOME QUILLMOTE_JAVA_HOME JAVA_HOME JDK_HOME LC_ALL
export LANG=C.UTF-8                      # ANSI code page 1252, console code page 437

# ---------------------------------------------------------------------------------------------
# Wine session

# Private prefix, no crash dialog, virtual desktop, one Xvfb, a persistent warm wineserver.
e2e_wine_up() {
    export WINEPREFIX=$E2E_WORK/wineprefix WINEDEBUG=-all
    mkdir -p "$E2E_WORK"
    # A display of our own: -displayfd picks a free number and reports it once X is ready.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$E2E_WORK/display" \
        >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local n
    for _ in $(seq 1 100); do
        n=$(cat "$E2E_WORK/display" 2>/dev/null)
        [ -n "$n" ] && break
        sleep 0.1
    done
    [ -n "$n" ] || { echo "e2e: Xvfb did not start (see $E2E_WORK/xvfb.log)"; return 1; }
    export DISPLAY=:$n
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "e2e: creating the Wine prefix $WINEPREFIX (about 20 s)"
        wineboot -i >"$E2E_WORK/wineboot.log" 2>&1 || { echo "e2e: wineboot failed"; return 1; }
    fi
    # An empty debugger ends a crashing process at once with status 5; the default winedbg
    # opens a dialog that hangs under X.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /t REG_SZ /d "" /f >/dev/null 2>&1
    # Without a window manager every hidden window and returning message box stalls for 2 s.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f \
        >/dev/null 2>&1
    wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
    wineserver -p
    # Warm-up: the services started by the first process of a session must not hold a test's files.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    e2e_find_temp && make_default_runtime
}

# Cases that are not about the runtime search still need a runtime to get past it: a stub runtime
# that every run finds through TARVO_JAVA_HOME, the search's last resort. A case that sets
# TARVO_JAVA_HOME itself (even to an empty value) keeps its own; the runtime tables turn the
# default off with E2E_DEFAULT_RUNTIME=.
make_default_runtime() {
    local home=$E2E_WORK/default-runtime
    mkdir -p "$home/bin/server"
    cp "$FIXTURES_DIR/stubjava.exe" "$home/bin/java.exe" &&
        cp "$FIXTURES_DIR/jvm.dll" "$home/bin/server/jvm.dll" || return 1
    E2E_DEFAULT_RUNTIME=$(winpath "$home")
    export E2E_DEFAULT_RUNTIME
}

e2e_wine_down() {
    wineserver -k 2>/dev/null
    [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=
}

# The temporary directory as a Windows process sees it. Wine takes TMP and TEMP from
# HKCU\Environment and ignores the Unix ones. TMP is reset to TEMP's value, undoing a change
# that an interrupted run may have left behind.
e2e_find_temp() {
    wine cmd /c 'echo %TEMP%' </dev/null >"$E2E_WORK/temp-var.txt" 2>/dev/null
    E2E_TMP_WIN=$(tr -d '\r\n' <"$E2E_WORK/temp-var.txt")
    set_tmp "$E2E_TMP_WIN"
    wine winepath -u "$E2E_TMP_WIN" </dev/null >"$E2E_WORK/temp-dir.txt" 2>/dev/null
    E2E_TMP_DIR=$(tr -d '\r\n' <"$E2E_WORK/temp-dir.txt")
    E2E_TMP_DIR=${E2E_TMP_DIR%/}
    [ -d "$E2E_TMP_DIR" ] || { echo "e2e: TEMP=$E2E_TMP_WIN is not a directory"; return 1; }
    # Empty temporary files the launcher leaves by design; they would pile up run after run.
    rm -f "$E2E_TMP_DIR"/tvo*.tmp
    export E2E_TMP_WIN E2E_TMP_DIR
}

# The TMP variable of the next Windows processes (taken from the registry at process start).
set_tmp() {
    wine reg add 'HKCU\Environment' /v TMP /t REG_SZ /d "$1" /f </dev/null >/dev/null 2>&1
}
reset_tmp() { set_tmp "$E2E_TMP_WIN"; }

# The Windows form of a Unix path (drive Z: is the Unix root in every Wine prefix).
winpath() {
    local p
    p=$(absolute "$1")
    printf 'Z:%s' "${p//\//\\}"
}

# The short (8.3) form Wine gives an existing Windows path; short names are a hash of the long
# name, so never hard-code one.
short_winpath() {
    wine winepath -s "$1" </dev/null >"$E2E_WORK/short-path.txt" 2>/dev/null
    tr -d '\r\n' <"$E2E_WORK/short-path.txt"
}

# ---------------------------------------------------------------------------------------------
# Cases and results

E2E_FILE=${E2E_FILE:-misc}
CASE=
CASE_FAILED=0

# Starts a case: a fresh directory $CASE_DIR for its executable and output.
new_case() {
    end_case
    CASE=$E2E_FILE/$1
    CASE_FAILED=0
    CASE_DIR=$E2E_WORK/cases/$CASE
    rm -rf "$CASE_DIR"
    mkdir -p "$CASE_DIR"
}

# Records the current case's result; new_case and run.sh call it.
end_case() {
    [ -n "$CASE" ] || return 0
    if [ "$CASE_FAILED" = 0 ]; then
        echo "PASS $CASE" >>"$E2E_RESULTS"
    else
        echo "FAIL $CASE" >>"$E2E_RESULTS"
        echo "FAIL $CASE"
    fi
    CASE=
}

# A table field without the blanks around it (for rows split at "|").
trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; printf '%s' "${s%"${s##*[![:space:]]}"}"; }

# Shows a text with its control characters visible, for failure reports.
visible() { printf '%q' "$1"; }

fail() {
    CASE_FAILED=1
    echo "  [$CASE] $1"
    shift
    local line
    for line in "$@"; do echo "      $line"; done
}

# read_text VAR FILE: the file's content exactly (trailing line feeds kept, which $(...) would
# drop), carriage returns removed.
read_text() {
    local text
    text=$({ tr -d '\r' <"$2"; } 2>/dev/null; printf x)
    printf -v "$1" '%s' "${text%x}"
}

expect_eq() {  # what expected actual
    [ "$2" == "$3" ] && return 0
    fail "$1 differs" "expected: $(visible "$2")" "actual:   $(visible "$3")"
}

expect_match() {  # what extended-regex actual
    [[ $3 =~ $2 ]] && return 0
    fail "$1 does not match /$2/" "actual: $(visible "$3")"
}

expect_status() {
    [ "$RC" = "$1" ] && return 0
    local hint=
    [ "$RC" = 124 ] && hint=" (timed out after ${E2E_TIMEOUT}s: a box nobody answered?)"
    grep -q 'Unhandled' "$CASE_DIR/err" 2>/dev/null && hint=" (crashed)"
    local err
    read_text err "$CASE_DIR/err"
    fail "exit status $RC, expected $1$hint" "stderr: $(visible "$err")"
}

# Standard error exactly (carriage returns removed: the C runtime writes text mode).
expect_stderr() {
    local err
    read_text err "$CASE_DIR/err"
    expect_eq "stderr" "$1" "$err"
}

# ---------------------------------------------------------------------------------------------
# Test executables and runs

# Makes $CASE_DIR/app.exe (path in $EXE) from the launcher and a block:
#   make_exe --config "{'narrow': {101: 'App'}}" | --hex "D5 13 E4 E8 ..." | --none
make_exe() {
    EXE=$CASE_DIR/app.exe
    "$PYTHON" "$BLOCKWRITER" make "$LAUNCHER_EXE" "$EXE" "$@" \
        >"$CASE_DIR/blockwriter.out" 2>&1 && return 0
    fail "blockwriter failed" "$(cat "$CASE_DIR/blockwriter.out")"
    return 1
}

# Runs $EXE with arguments, output to $CASE_DIR/out and err, status in $RC.
# Environment for the launcher: VAR=value run_exe ... (bash exports it for the call).
run_exe() {
    (cd "$CASE_DIR" && TARVO_JAVA_HOME=${TARVO_JAVA_HOME-${E2E_DEFAULT_RUNTIME:-}} \
        exec timeout "$E2E_TIMEOUT" wine "$EXE" "$@" \
        </dev/null >"$CASE_DIR/out" 2>"$CASE_DIR/err")
    RC=$?
}

# Runs $EXE while mbhelper waits for a box with CAPTION and presses BUTTON:
#   run_exe_answering_box CAPTION BUTTON [args...]
# Sets RC, BOX_RC (0 = box found and answered), BOX_CAPTION and BOX_TEXT.
run_exe_answering_box() {
    local caption=$1 button=$2 launcher helper
    shift 2
    BOX_OTHER=
    (cd "$CASE_DIR" && TARVO_JAVA_HOME=${TARVO_JAVA_HOME-${E2E_DEFAULT_RUNTIME:-}} \
        exec timeout "$E2E_TIMEOUT" wine "$EXE" "$@" \
        </dev/null >"$CASE_DIR/out" 2>"$CASE_DIR/err") &
    launcher=$!
    answer_box "$caption" "$button" box &
    helper=$!
    # A launcher that ended without showing a box will not show one: stop waiting for it
    # (after a grace period in which a helper that has just pressed the button finishes).
    while kill -0 "$helper" 2>/dev/null && kill -0 "$launcher" 2>/dev/null; do sleep 0.1; done
    for _ in $(seq 1 20); do kill -0 "$helper" 2>/dev/null || break; sleep 0.1; done
    kill "$helper" 2>/dev/null
    wait "$helper"
    BOX_RC=$?
    if [ "$BOX_RC" = 1 ] && [ "$caption" != '*' ]; then
        # No box with that caption: close whatever box is there, so the run ends now and the
        # report can say what was shown instead.
        (answer_box '*' 1 other-box 1000) && read_text BOX_OTHER "$CASE_DIR/other-box.txt"
    fi
    wait "$launcher"
    RC=$?
    read_text BOX_TEXT "$CASE_DIR/box.txt"
    BOX_CAPTION=${BOX_TEXT%%$'\n'*}
    BOX_TEXT=${BOX_TEXT#*$'\n'}
}

# answer_box CAPTION BUTTON NAME [timeout_ms]: writes caption and text to $CASE_DIR/NAME.txt.
# Run it in a subshell or in the background: it ends the shell it runs in.
answer_box() {
    rm -f "$CASE_DIR/$3.txt"
    # exec: a kill of this background job reaches timeout, which passes it on to Wine.
    exec timeout $(( ${4:-$BOX_TIMEOUT_MS} / 1000 + 15 )) wine "$MBHELPER" "$1" "$2" \
        "${4:-$BOX_TIMEOUT_MS}" "$(winpath "$CASE_DIR/$3.txt")" \
        </dev/null >"$CASE_DIR/$3.out" 2>"$CASE_DIR/$3.err"
}

# A box with CAPTION and TEXT was shown and answered.
expect_box() {
    if [ "$BOX_RC" != 0 ]; then
        local err why="mbhelper status $BOX_RC" other=none
        [ "$BOX_RC" = 143 ] && why="the launcher ended without one"
        [ -n "$BOX_OTHER" ] && other=$(visible "$BOX_OTHER")
        read_text err "$CASE_DIR/err"
        fail "no box answered ($why), expected caption $(visible "$1")" \
            "box seen instead (caption, line feed, text): $other" "stderr: $(visible "$err")"
        return 1
    fi
    expect_eq "box caption" "$1" "$BOX_CAPTION"
    expect_eq "box text" "$2" "$BOX_TEXT"
}

# ---------------------------------------------------------------------------------------------
# The diagnostic log

# Log files go to the TMP directory, or to C:\ when TMP names no directory.
E2E_C_DRIVE=$E2E_WORK/wineprefix/drive_c
clear_logs() {
    rm -f "$E2E_TMP_DIR"/qmo_nlog_* "$E2E_C_DRIVE"/qmo_nlog*
}

# find_logs [DIR]: the log files in DIR (default: the TMP directory), $LOG_COUNT of them, the
# first in $LOG_FILE.
find_logs() {
    local logs=("${1:-$E2E_TMP_DIR}"/qmo_nlog_*)
    [ -e "${logs[0]}" ] || logs=()
    LOG_COUNT=${#logs[@]}
    LOG_FILE=${logs[0]:-}
}

expect_log_count() {  # count [DIR]
    find_logs "${2:-}"
    [ "$LOG_COUNT" = "$1" ] && return 0
    fail "$LOG_COUNT log files in ${2:-$E2E_TMP_WIN}, expected $1"
}

# The Windows path of $LOG_FILE in the default TMP directory.
log_winpath() { printf '%s\\%s' "$E2E_TMP_WIN" "$(basename "$LOG_FILE")"; }

expect_log_line() {
    grep -qxF -- "$1" <(tr -d '\r' <"$LOG_FILE") && return 0
    fail "log has no line $(visible "$1")" "log: $LOG_FILE"
}
