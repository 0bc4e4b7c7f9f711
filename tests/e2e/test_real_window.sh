# A Swing application started by the GUI launcher (no console) on each real Windows Java runtime
# under Wine: its frame appears on the desktop, is closed the way a user closes it, and the
# launcher's process then ends by itself with exit code 0. The application (tests/e2e/windowapp)
# records "shown VERSION" and "closed" in a file; windowprobe.exe finds the frame and closes it.
source "$REPO_ROOT/scripts/runtimes.sh"

WINDOW_HOST_BUILD=${HOST_BUILD:-$REPO_ROOT/build/host}
WINDOW_APP_JAR=$WINDOW_HOST_BUILD/tests/e2e/windowapp/windowapp.jar
WINDOW_RUNTIME_JAR=$WINDOW_HOST_BUILD/runtime-library/qmoruntime.jar
WINDOWPROBE=$FIXTURES_DIR/windowprobe.exe
WINDOW_TITLE='Window Probe'
WINDOW_WAIT_MS=${WINDOW_WAIT_MS:-90000}  # a VM start under Wine takes seconds, Swing more
WINDOW_END_S=${WINDOW_END_S:-20}         # from the close until the launcher's process is gone
AFFINITY_WARNING='OpenJDK 64-Bit Server VM warning: Attempt to get process group affinity failed: Call not implemented'

now_ms() { date +%s%3N; }
seconds() { printf '%d.%03d s' $(( $1 / 1000 )) $(( $1 % 1000 )); }

# stop_job PID: ends a background job of this file (a `timeout` and the Wine process under it).
stop_job() {
    local child
    kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null; return 0; }
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do kill "$child" 2>/dev/null; done
    kill "$1" 2>/dev/null
    for _ in $(seq 1 30); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do kill -9 "$child" 2>/dev/null; done
    kill -9 "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

# start_probe TIMEOUT_MS: windowprobe in the background (PID in $probe), closing the frame once
# it is there. Wine's error channel stays on for it: when it fails, that is the only clue.
start_probe() {
    (WINEDEBUG=err+all exec timeout $(( $1 / 1000 + 30 )) wine "$WINDOWPROBE" "$WINDOW_TITLE" "$1" close \
        </dev/null >"$CASE_DIR/probe.out" 2>"$CASE_DIR/probe.err") &
    probe=$!
}

# windowprobe's standard error without the hint Debian's wine wrapper prints when Wine's
# debug channels are on.
probe_stderr() {
    tr -d '\r' <"$1" 2>/dev/null | grep -v -e 'wine32' -e '^multiarch needs' -e '^execute "dpkg' \
        -e '^apt-get install' -e '^$'
}

# window_case LINE: the application laid out as an installation around bin\app.exe, with the
# runtime of that Java line as its bundled ..\jre (a symbolic link, which Wine follows).
window_case() {
    local line=$1 home expected_version record launcher started found_ms= ended_ms retried=
    home=$(runtime_home "$line")
    expected_version=$(tr -d '\r' <"$home/release" | sed -n 's/^JAVA_VERSION="\(.*\)"$/\1/p')
    new_case "$line"
    record=$CASE_DIR/record.txt
    make_exe --config "{'narrow': [(2001, 'i'), (107, '1'), (10003, '..\\\\'), (122, 'windowapp.WindowApp'),
        (121, r'A1..\\windowapp.jar'), (126, '1.8'), (127, ''), (128, r'B..\\jre;'),
        (123, r'-Dsun.java2d.d3d=false -Dwindowapp.record=$(winpath "$record")'),
        (1005, 'The VM could not be started.'), (1006, 'Missing {0}.'), (1009, 'Internal error {0}.'),
        (1010, 'No launcher class.'), (1011, 'No main method.'), (1016, 'No runtime ({0}-bit).'),
        (1020, 'Runtime at {0} is damaged.')]}" || return
    mkdir -p "$CASE_DIR/bin" "$CASE_DIR/.quillmote"
    mv "$EXE" "$CASE_DIR/bin/app.exe"
    EXE=$CASE_DIR/bin/app.exe
    cp "$WINDOW_APP_JAR" "$CASE_DIR/windowapp.jar"
    cp "$WINDOW_RUNTIME_JAR" "$CASE_DIR/.quillmote/qmoruntime.jar"
    ln -s "$home" "$CASE_DIR/jre"

    # Started the way a GUI program starts: no console, output to files. The outer bound only
    # keeps a hung run from outliving the case; the checks below use tighter ones.
    started=$(now_ms)
    (cd "$CASE_DIR/bin" && exec timeout $(( WINDOW_WAIT_MS / 1000 + WINDOW_END_S + 30 )) \
        wine "$EXE" </dev/null >"$CASE_DIR/out" 2>"$CASE_DIR/err") &
    launcher=$!
    start_probe "$WINDOW_WAIT_MS"

    local probe_rc left
    while :; do
        # A launcher that ended before its window appeared will not show one: stop waiting then
        # (after a grace period in which a probe that has just closed the window finishes).
        while kill -0 "$probe" 2>/dev/null && kill -0 "$launcher" 2>/dev/null; do
            [ -z "$found_ms" ] && [ -s "$CASE_DIR/probe.out" ] && found_ms=$(( $(now_ms) - started ))
            sleep 0.05
        done
        for _ in $(seq 1 40); do kill -0 "$probe" 2>/dev/null || break; sleep 0.05; done
        [ -z "$found_ms" ] && [ -s "$CASE_DIR/probe.out" ] && found_ms=$(( $(now_ms) - started ))
        if kill -0 "$probe" 2>/dev/null; then
            stop_job "$probe"
            probe_rc=stopped
            break
        fi
        wait "$probe"
        probe_rc=$?
        # windowprobe explains each of its own failures on stderr. Silence means Wine did not run
        # it through (seen once under heavy load: status 1, nothing printed): once more, for the
        # time that is left.
        left=$(( WINDOW_WAIT_MS - ($(now_ms) - started) ))
        if [ "$probe_rc" != 0 ] && [ -z "$retried" ] && [ "$left" -gt 1000 ] &&
            ! grep -q -e '^windowprobe:' -e '^usage:' "$CASE_DIR/probe.err" 2>/dev/null &&
            kill -0 "$launcher" 2>/dev/null; then
            retried="status $probe_rc, stderr $(visible "$(probe_stderr "$CASE_DIR/probe.err")")"
            cp "$CASE_DIR/probe.err" "$CASE_DIR/probe-first.err"
            echo "  Java $line: windowprobe ended early without a word ($retried); started again"
            start_probe "$left"
            continue
        fi
        break
    done

    # windowprobe's lines: what it found, then what the close did.
    local description gone=
    read_text description "$CASE_DIR/probe.out"
    if [[ $description == *$'\n'* ]]; then
        gone=${description#*$'\n'}
        gone=${gone%$'\n'}
        description=${description%%$'\n'*}
    fi
    if [ "$probe_rc" != 0 ]; then
        local box=none launcher_end="still running, stopped" err
        # The launcher may be showing an error box instead of the frame: read and dismiss it.
        if kill -0 "$launcher" 2>/dev/null && (answer_box '*' 1 other-box 1000); then
            read_text box "$CASE_DIR/other-box.txt"
            for _ in $(seq 1 40); do kill -0 "$launcher" 2>/dev/null || break; sleep 0.05; done
        fi
        if kill -0 "$launcher" 2>/dev/null; then
            stop_job "$launcher"
        else
            wait "$launcher"
            launcher_end="ended with status $?"
        fi
        read_text err "$CASE_DIR/err"
        local what="windowprobe failed (status $probe_rc)"
        [ "$probe_rc" = 1 ] && what="no frame titled $(visible "$WINDOW_TITLE") within $WINDOW_WAIT_MS ms"
        [ "$probe_rc" = 3 ] && what="the frame was still there $WINDOW_WAIT_MS ms after WM_CLOSE"
        fail "Java $line: $what" \
            "windowprobe output: $(visible "$description${gone:+ / $gone}")" \
            "windowprobe stderr: $(visible "$(probe_stderr "$CASE_DIR/probe.err")")${retried:+ (first run: $retried)}" \
            "launcher: $launcher_end after $(seconds $(( $(now_ms) - started )))" \
            "box seen instead (caption, line feed, text): $(visible "$box")" \
            "launcher stderr: $(visible "$err")"
        return
    fi

    # The frame as Swing made it: an AWT frame with the title and the size asked for.
    expect_eq "Java $line: window found" \
        "title=\"$WINDOW_TITLE\" class=\"SunAwtFrame\" size=300x200 visible=1" "$description"
    expect_match "Java $line: window closed" '^gone after [0-9]+ ms$' "$gone"

    # Closing the only frame ends AWT, then the VM, then the launcher: nobody kills it.
    local closed_at
    closed_at=$(now_ms)
    while kill -0 "$launcher" 2>/dev/null && [ $(( $(now_ms) - closed_at )) -lt $(( WINDOW_END_S * 1000 )) ]; do
        sleep 0.05
    done
    ended_ms=$(( $(now_ms) - closed_at ))
    if kill -0 "$launcher" 2>/dev/null; then
        stop_job "$launcher"
        fail "Java $line: the launcher still ran ${WINDOW_END_S} s after its window was closed" \
            "application record: $(visible "$(cat "$record" 2>/dev/null)")"
        return
    fi
    wait "$launcher"
    RC=$?
    expect_status 0

    local shown_closed stderr_text out_text
    read_text shown_closed "$record"
    expect_eq "Java $line: application record" "shown $expected_version
closed
" "$shown_closed"
    read_text stderr_text "$CASE_DIR/err"
    stderr_text=$(printf '%s' "$stderr_text" | grep -vxF "$AFFINITY_WARNING")
    expect_eq "Java $line: stderr (without the VM's affinity warning)" "" "$stderr_text"
    read_text out_text "$CASE_DIR/out"
    expect_eq "Java $line: stdout" "" "$out_text"

    echo "  Java $line: window after $(seconds "$found_ms"), ${gone#gone after } to close it," \
        "launcher ended $(seconds "$ended_ms") after the close"
}

# One case per pinned Java line. A line that was never fetched is skipped with a note, except
# in CI, where every pinned runtime must be there.
available=" $(available_runtimes | tr '\n' ' ') "
skipped=()
missing_inputs=
for f in "$WINDOW_APP_JAR" "$WINDOW_RUNTIME_JAR" "$WINDOWPROBE"; do
    [ -f "$f" ] || missing_inputs="$missing_inputs $f"
done
for pin in "${RUNTIME_PINS[@]}"; do
    line=${pin%% *}
    if [[ $available != *" $line "* ]]; then
        if [ "${CI:-}" = true ]; then
            new_case "$line"
            fail "Java $line: runtime not fetched into $RUNTIME_CACHE (scripts/fetch-runtimes.sh)"
        else
            skipped+=("$line")
        fi
        continue
    fi
    if [ -n "$missing_inputs" ]; then
        new_case "$line"
        fail "missing (build both trees first):$missing_inputs"
        continue
    fi
    window_case "$line"
done
[ ${#skipped[@]} = 0 ] ||
    echo "  window cases skipped for Java ${skipped[*]}: runtime not fetched (scripts/fetch-runtimes.sh)"
