# Loading a runtime's VM library once the search has accepted it: the subdirectories tried, the
# jre\bin retry, PATH, what the user is told when nothing loads, packed runtimes, a java.exe
# that never answers, and a runtime under a path with a blank. Every runtime is a stub layout
# made here (runtime_lib.sh).
source "$E2E_DIR/runtime_lib.sh"

M1005='The Java VM could not be started.'
M1009='The runtime could not be prepared (code {0}).'
M1016='No {0}-bit Java runtime was found.'
M1018='The variable {0} names no working runtime.'
M1020='The runtime at {0} is damaged.'
# 1005 is read with the wide accessor, which widens the narrow entry: it goes with the others.
MESSAGES="(1005, '$M1005'), (1009, '$M1009'), (1016, '$M1016'), (1018, '$M1018'), (1020, '$M1020')"
JAVA8='java version "1.8.0_101"'

start_case() {
    new_case "$1"
    clear_logs
    clear_runtime_registry
    # The case folder as the launcher spells resolved paths: absolute, lower case.
    CW=$(winpath "$CASE_DIR")
    CW=${CW,,}
}

# make_app NARROW_ENTRIES: $CASE_DIR/app.exe with the messages and the given entries. Key 107 is
# absent, so messages go to standard error.
make_app() { make_exe --config "{'narrow': [$MESSAGES, $1]}"; }

# Runs the executable with the log on; sets LOG_FILE and P0, the PATH the runtime step started
# from (what the native-library step set).
run_logged() {
    TARVO_LOG=yes run_exe "$@"
    find_logs
    P0=
    [ -n "$LOG_FILE" ] || { fail "no log"; return 1; }
    P0=$(log_lines 'Setting PATH (native libs) ' | head -1)
    P0=${P0#Setting PATH (native libs) }
}

log_lines() { tr -d '\r' <"$LOG_FILE" | grep -a -F -- "$1"; }
# The VM libraries tried, as "<path> (exists N)", and the PATH values the runtime step set.
tried_libraries() { tr -d '\r' <"$LOG_FILE" | grep -a -E '^Trying .* \(exists [01]\)$' | sed 's/^Trying //'; }
path_values() { tr -d '\r' <"$LOG_FILE" | grep -a '^Setting PATH ' | grep -av '^Setting PATH (native libs)' |
    sed 's/^Setting PATH //'; }

# The text a message shows on standard error with the log on.
shown() { printf '%s\n\nLog: %s\n' "$1" "$(log_winpath)"; }
fill() { printf '%s' "${1/\{0\}/$2}"; }

expect_loaded() {  # VM_FOLDER: VM_FOLDER\jvm.dll was loaded and the start succeeded
    local record
    record=$(tr -d '\r' 2>/dev/null <"$1/jvm-record.txt")
    expect_match "record of $1/jvm.dll" '^loaded ' "$record"
    expect_status 0
    expect_log_line 'Loading of JVM-DLL successful'
}

expect_not_loaded() {  # VM_FOLDER...
    local dir
    for dir in "$@"; do
        [ ! -e "$dir/jvm-record.txt" ] || fail "$dir/jvm.dll was loaded"
    done
}

# ---------------------------------------------------------------------------------------------
# The VM library under the runtime's bin: the configured subdirectory (key 152) first when set,
# then hotspot, client, server, classic, jrockit. The first that loads ends the list; every
# attempt is logged with whether the file exists. PATH gets the bin directory once, after the
# value it had.
while IFS='|' read -r name configured present tried; do
    name=$(trim "$name"); configured=$(trim "$configured"); present=$(trim "$present"); tried=$(trim "$tried")
    start_case "vm-order-$name"
    make_runtime "$CASE_DIR/rt" "$JAVA8" $present
    entries="(128, 'Brt')"
    [ "$configured" = - ] || entries+=", (152, '$configured')"
    make_app "$entries" || continue
    run_logged || continue
    expected=
    for attempt in $tried; do
        expected+="$CW\\rt\\bin\\${attempt%:*}\\jvm.dll (exists ${attempt#*:})"$'\n'
    done
    expect_eq "libraries tried" "${expected%$'\n'}" "$(tried_libraries)"
    loaded=${tried##* }
    loaded=${loaded%:*}
    expect_loaded "$CASE_DIR/rt/bin/$loaded"
    for sub in $present; do
        [ "$sub" = "$loaded" ] || expect_not_loaded "$CASE_DIR/rt/bin/$sub"
    done
    expect_eq "PATH values set" "$P0;$CW\\rt\\bin" "$(path_values)"
done <<'T'
only-server          | -      | server        | hotspot:0 client:0 server:1
client-before-server | -      | client server | hotspot:0 client:1
jrockit-last         | -      | jrockit       | hotspot:0 client:0 server:0 classic:0 jrockit:1
configured-first     | server | client server | server:1
configured-missing   | custom | client        | custom:0 hotspot:0 client:1
T

# ---------------------------------------------------------------------------------------------
# A development kit keeps its VM in jre\bin beside its own bin: when bin has no VM library, the
# ..\jre\bin directory is tried. A failed attempt sets PATH back to the value before it, so only
# the directory that loaded stays in PATH. The kit has no jre\bin\java.exe, so its bin\java.exe
# is the one validated.
start_case jre-beside-bin
make_runtime "$CASE_DIR/jdk" "$JAVA8"
mkdir -p "$CASE_DIR/jdk/jre/bin/server"
cp "$STUB_JVM" "$CASE_DIR/jdk/jre/bin/server/jvm.dll"
make_app "(128, 'Bjdk')" &&
run_logged && {
    expect_loaded "$CASE_DIR/jdk/jre/bin/server"
    expect_eq "libraries tried" "$(for sub in hotspot client server classic jrockit; do
            echo "$CW\\jdk\\bin\\$sub\\jvm.dll (exists 0)"; done)
$CW\\jdk\\bin\\..\\jre\\bin\\hotspot\\jvm.dll (exists 0)
$CW\\jdk\\bin\\..\\jre\\bin\\client\\jvm.dll (exists 0)
$CW\\jdk\\bin\\..\\jre\\bin\\server\\jvm.dll (exists 1)" "$(tried_libraries)"
    expect_eq "PATH values set" "$P0;$CW\\jdk\\bin
$P0
$P0;$CW\\jdk\\bin\\..\\jre\\bin" "$(path_values)"
}

# A candidate whose library loads nowhere leaves nothing in PATH for the next one.
start_case next-candidate-after-failed-load
make_runtime "$CASE_DIR/novm" "$JAVA8"
make_runtime "$CASE_DIR/rt" "$JAVA8" server
make_app "(128, 'Bnovm;Brt')" &&
run_logged && {
    expect_loaded "$CASE_DIR/rt/bin/server"
    expect_eq "PATH values set" "$P0;$CW\\novm\\bin
$P0
$P0;$CW\\novm\\bin\\..\\jre\\bin
$P0
$P0;$CW\\rt\\bin" "$(path_values)"
}

# ---------------------------------------------------------------------------------------------
# Nothing loads: exit code 83 and the messages of the last candidate that passed its checks, by
# how it was found. The runtime rt is made as the state column says:
#   refuses  its server\jvm.dll fails to load (the stub's DllMain says no: error 1114)
#   garbage  a text file named server\jvm.dll (not an image: error 193)
#   noentry  a library without JNI_CreateJavaVM
#   old      version 1.6.0_45, below the minimum 1.8 (its library would load)
# Messages are id:argument or id. The error column lists the ERROR lines of the log (without
# "ERROR: "), and the load-error column the one code every "Failed with error code" line shows.
# Y finds rt through a located-runtime entry of the user; S through PATH, where key 10004 puts
# rt\bin; E through RT_HOME, which names rt in every row.
while IFS='|' read -r name sequence native state messages errors load_error; do
    name=$(trim "$name"); sequence=$(trim "$sequence"); native=$(trim "$native"); state=$(trim "$state")
    messages=$(trim "$messages"); errors=$(trim "$errors"); load_error=$(trim "$load_error")
    start_case "no-runtime-$name"
    vm=$CASE_DIR/rt/bin/server
    case $state in
        -) ;;
        refuses) make_runtime "$CASE_DIR/rt" "$JAVA8" server && : >"$vm/jvm-fail-load.txt" ;;
        garbage) make_runtime "$CASE_DIR/rt" "$JAVA8" server && echo 'not a library' >"$vm/jvm.dll" ;;
        noentry) make_runtime "$CASE_DIR/rt" "$JAVA8" server && cp "$STUB_JVM_NO_ENTRY" "$vm/jvm.dll" ;;
        old) make_runtime "$CASE_DIR/rt" 'java version "1.6.0_45"' server ;;
    esac
    if [ "$sequence" = Y ]; then
        located=$(winpath "$CASE_DIR/rt/bin/java.exe")
        reg_quiet add "$LOCATED_USER_KEY\\${located//\\//}" /f || continue
    fi
    entries="(128, r'$sequence'), (126, '1.8')"
    [ "$native" = - ] || entries+=", (10004, r'$native')"
    make_app "$entries" || continue
    RT_HOME=$(winpath "$CASE_DIR/rt") run_logged || continue
    expect_status 83
    expected=
    for message in $messages; do
        id=${message%%:*}
        text_var=M$id
        if [[ $message == *:* ]]; then
            expected+=$(shown "$(fill "${!text_var}" "${message#*:}")")
        else
            expected+=$(shown "${!text_var}")
        fi
        expected+=$'\n'
    done
    expect_stderr "$expected"
    expect_eq "error lines" "$errors" "$(log_lines 'ERROR: ' | sed 's/^ERROR: //' | paste -sd ';' | sed 's/;/; /g')"
    if [ "$load_error" = - ]; then
        expect_eq "load failures" "" "$(log_lines 'Failed with error code')"
    else
        expect_eq "load failures" "Failed with error code $load_error" \
            "$(log_lines 'Failed with error code' | sort -u)"
        # Every failed attempt gave PATH back.
        expect_eq "PATH at the end" "$P0" "$(path_values | tail -1)"
    fi
    [ "$state" != old ] || expect_not_loaded "$vm"
done <<'T'
nothing-found     | Bmissing | -      | -       | 1016:64           | No JVM found                                      | -
too-old           | ERT_HOME | -      | old     | 1016:64           | No JVM found                                      | -
directory         | Brt      | -      | refuses | 1020:rt 1005      | Could not get DLL-Handle.; Could not load functions | 1114
directory-garbage | Brt      | -      | garbage | 1020:rt 1005      | Could not get DLL-Handle.; Could not load functions | 193
environment       | ERT_HOME | -      | refuses | 1018:RT_HOME 1005 | Could not get DLL-Handle.; Could not load functions | 1114
search-path       | S        | rt\bin | refuses | 1016:64 1005      | Could not get DLL-Handle.; Could not load functions | 1114
registry          | Y        | -      | refuses | 1005              | Could not get DLL-Handle.; Could not load functions | 1114
no-entry-point    | Brt      | -      | noentry | 1020:rt 1005      | Could not load functions                          | -
T

# ---------------------------------------------------------------------------------------------
# Packed runtimes: every lib\*.jar.pack and lib\ext\*.jar.pack whose jar is missing is unpacked
# with the runtime's bin\unpack200.exe, lib first, announced once on standard output; the packed
# file is then deleted. A packed file whose jar exists is only checked. b.jar.packx is no packed
# file (Wine 8 does not return it for the pattern, but a wider pattern in the launcher would).
# Files are named relative to lib; every file planted holds "planted", and a jar the tool wrote
# holds "unpacked from" and its packed file. A second start finds nothing to do.
while IFS='|' read -r name before unpacked after; do
    name=$(trim "$name"); before=$(trim "$before"); unpacked=$(trim "$unpacked"); after=$(trim "$after")
    start_case "packed-$name"
    rt=$CASE_DIR/rt
    make_runtime "$rt" "$JAVA8" server
    cp "$STUB_UNPACK" "$rt/bin/unpack200.exe"
    for file in $before; do
        mkdir -p "$(dirname "$rt/lib/$file")"
        echo planted >"$rt/lib/$file"
    done
    make_app "(128, 'Brt')" || continue
    runs=
    [ "$unpacked" = - ] && unpacked=
    for file in $unpacked; do
        win=${file//\//\\}
        runs+="\"$CW\\rt\\bin\\unpack200.exe\" -r \"$CW\\rt\\lib\\$win\" \"$CW\\rt\\lib\\${win%.pack}\""$'\n'
    done
    for start in first second; do
        [ "$start" = first ] || clear_logs
        checked=
        for file in $(cd "$rt/lib" && shopt -s nullglob && printf '%s\n' *.jar.pack ext/*.jar.pack); do
            checked+="checking $CW\\rt\\lib\\${file%.pack}"$'\n'
        done
        checked=${checked//\//\\}
        run_logged || break
        expect_loaded "$rt/bin/server"
        expect_eq "$start start: jars checked" "${checked%$'\n'}" "$(log_lines 'checking ')"
        expect_eq "$start start: tool runs" "${runs%$'\n'}" "$(tr -d '\r' 2>/dev/null <"$rt/bin/unpack-runs.txt")"
        expect_eq "$start start: lib afterwards" "$after" "$(cd "$rt/lib" && find . -type f | sed 's|^\./||' | sort | xargs)"
        times=0
        [ "$start" = first ] && [ -n "$runs" ] && times=1
        expect_eq "$start start: 'Unpacking JRE' lines" $times "$(log_lines 'Unpacking JRE' | grep -cx 'Unpacking JRE')"
        expect_eq "$start start: 'Unpacking JRE done' lines" $times "$(log_lines 'Unpacking JRE done' | grep -c .)"
        announced=
        [ $times = 1 ] && announced=$'Preparing JRE ...\n'
        read_text out "$CASE_DIR/out"
        expect_eq "$start start: standard output" "$announced" "$out"
    done
    for file in $after; do
        content=$(tr -d '\r' <"$rt/lib/$file")
        if [[ " $before " == *" $file "* ]]; then
            expect_eq "content of $file" planted "$content"
        else
            expect_eq "content of $file" "unpacked from $CW\\rt\\lib\\${file//\//\\}.pack" "$content"
        fi
    done
done <<'T'
lib-and-ext | rt.jar.pack ext/a.jar.pack b.jar.packx | rt.jar.pack ext/a.jar.pack | b.jar.packx ext/a.jar rt.jar
jar-present | rt.jar rt.jar.pack                     | -                          | rt.jar rt.jar.pack
T

# Without the tool the runtime cannot be prepared: message 1009 with 20, exit code 1, and the
# packed file is kept.
start_case packed-without-tool
make_runtime "$CASE_DIR/rt" "$JAVA8" server
mkdir -p "$CASE_DIR/rt/lib"
echo planted >"$CASE_DIR/rt/lib/rt.jar.pack"
make_app "(128, 'Brt')" &&
run_logged && {
    expect_status 1
    expect_stderr "$(shown "$(fill "$M1009" 20)")
"
    expect_log_line 'could not create unpack process'
    [ -f "$CASE_DIR/rt/lib/rt.jar.pack" ] || fail "the packed file was deleted"
    expect_not_loaded "$CASE_DIR/rt/bin/server"
}

# ---------------------------------------------------------------------------------------------
# A java.exe that never answers -version is ended after 60 s and the search goes on.

# live_java_pids JAVA_EXE: Unix ids of the running Wine processes of that java.exe started with
# -version. Wine shows a process's command line in ps; the launcher names java.exe by its short
# path or its long one, so both are looked for (without the drive letter, whose case differs).
# An ended process is gone or a zombie "[java.exe] <defunct>" without its command line.
live_java_pids() {
    local long short
    long=$(winpath "$1")
    short=$(wine winepath -s "$long" </dev/null 2>/dev/null | tr -d '\r')
    [ -n "$short" ] || { fail "no short path for $1"; return; }
    # From the environment: awk -v would take the backslashes as escapes.
    ps -eo pid=,stat=,args= | LONG="${long#?:}" SHORT="${short#?:}" awk '
        { line = tolower($0) }
        $2 !~ /^Z/ && (index(line, tolower(ENVIRON["SHORT"]) " -version") ||
                       index(line, tolower(ENVIRON["LONG"]))) { print $1 }'
}

start_case hanging-java-ended
make_runtime "$CASE_DIR/stuck" "$JAVA8" server
echo 600000 >"$CASE_DIR/stuck/bin/java-delay.txt"
make_runtime "$CASE_DIR/rt" "$JAVA8" server
make_app "(128, 'Bstuck;Brt')" && {
    started=$SECONDS
    E2E_TIMEOUT=90 run_logged && {
        expect_loaded "$CASE_DIR/rt/bin/server"
        expect_not_loaded "$CASE_DIR/stuck/bin/server"
        elapsed=$(( SECONDS - started ))
        [ "$elapsed" -ge 59 ] || fail "ended after ${elapsed}s, before the 60 s limit"
        expect_eq "'Terminating process' lines" 1 "$(log_lines 'Terminating process' | grep -c .)"
        expect_eq "runs of the hanging java.exe" 1 "$(java_runs "$CASE_DIR/stuck")"
        expect_eq "runs of the next java.exe" 1 "$(java_runs "$CASE_DIR/rt")"
    }
    expect_eq "hanging java.exe still running" "" "$(live_java_pids "$CASE_DIR/stuck/bin/java.exe" | xargs)"
}

# The launcher killed while it waits for java.exe: the child goes with it (it runs in a job that
# ends when the launcher's handle to it closes). Under Wine a child started outside a job outlives
# its killed parent, so a survivor here means the job is missing. The java.exe must run before
# the kill, or the check after it would prove nothing; a survivor is killed here.
start_case launcher-killed-while-java-hangs
make_runtime "$CASE_DIR/stuck" "$JAVA8" server
echo 600000 >"$CASE_DIR/stuck/bin/java-delay.txt"
make_app "(128, 'Bstuck')" && {
    (cd "$CASE_DIR" && exec timeout "$E2E_TIMEOUT" wine "$EXE" </dev/null >"$CASE_DIR/out" 2>"$CASE_DIR/err") &
    waiter=$!
    for _ in $(seq 1 100); do
        [ "$(java_runs "$CASE_DIR/stuck")" = 1 ] && break
        sleep 0.1
    done
    before=$(live_java_pids "$CASE_DIR/stuck/bin/java.exe" | xargs)
    [ -n "$before" ] || fail "java.exe is not running while the launcher waits for it"
    launcher=$(pgrep -P "$waiter")
    [ -n "$launcher" ] && kill -9 "$launcher"
    wait "$waiter" 2>/dev/null
    left=$before
    for _ in $(seq 1 50); do
        left=$(live_java_pids "$CASE_DIR/stuck/bin/java.exe" | xargs)
        [ -z "$left" ] && break
        sleep 0.1
    done
    if [ -n "$before" ] && [ -n "$left" ]; then
        fail "java.exe still runs 5 s after the launcher was killed (pid $left)"
        kill -9 $left 2>/dev/null
    fi
}

# ---------------------------------------------------------------------------------------------
# A runtime under "Program Files", beside a planted Program.exe (a stub java that records its
# runs beside itself): the runtime's own programs run and the planted one never does. Under Wine
# the short form of the path has no blank; the unpack tool is started by its long path.
start_case blank-in-path
apps=$CASE_DIR/apps
mkdir -p "$apps"
cp "$STUB_JAVA" "$apps/Program.exe"
rt="$apps/Program Files/rt"
make_runtime "$rt" "$JAVA8" server
cp "$STUB_UNPACK" "$rt/bin/unpack200.exe"
mkdir -p "$rt/lib"
echo planted >"$rt/lib/rt.jar.pack"
make_app "(128, r'Bapps\\Program Files\\rt')" &&
run_logged && {
    expect_loaded "$rt/bin/server"
    [ ! -e "$apps/java-runs.txt" ] || fail "the planted Program.exe ran" "$(cat "$apps/java-runs.txt")"
    expect_eq "runs of the runtime's java.exe" 1 "$(java_runs "$rt")"
    [ -f "$rt/lib/rt.jar" ] && [ ! -e "$rt/lib/rt.jar.pack" ] || fail "rt.jar.pack was not unpacked"
}
