# The launcher against real Windows x64 Java runtimes (the Temurin images scripts/fetch-runtimes.sh
# puts in a cache outside the repository): finding and validating each, starting the test
# application of tests/e2e/realapp on it, and every way such a start ends. Every table runs once
# per fetched Java line. Without a fetched runtime the cases are skipped with one line, unless
# CI=true, where a missing runtime fails.
#
# Each line's cases share one layout, $E2E_WORK/cases/real_runtimes/java<line>:
#   bin\*.exe                    one executable per configuration (sequence and range)
#   bin\app.vmoptions, extra.vmoptions   VM options file of app.exe and the file it includes
#   bin\realapp.jar              the application; .quillmote\qmoruntime.jar the runtime library
#   jre                          a symbolic link to the fetched runtime (the bundled runtime)
#   work                         the working directory (key 146); report.txt the application's report
source "$E2E_DIR/runtime_lib.sh"

HOST_BUILD=$(absolute "${HOST_BUILD:-$REPO_ROOT/build/host}")
APP_JAR=$HOST_BUILD/tests/e2e/realapp/realapp.jar
RUNTIME_JAR=$HOST_BUILD/runtime-library/qmoruntime.jar
# A VM start under Wine takes 3-7 s, more on a busy machine.
E2E_TIMEOUT=${E2E_REAL_TIMEOUT:-60}

VM_FAILED='The VM could not be started.'
NO_RUNTIME='No 64-bit Java runtime ({0}-bit) found.'

# The first version line of each pinned runtime's -version output (the pins are in
# scripts/runtimes.sh; a new pin needs its line here).
VERSION_LINES='
11 | openjdk version "11.0.13" 2021-10-19
17 | openjdk version "17.0.9" 2023-10-17
21 | openjdk version "21.0.8" 2025-07-15 LTS
25 | openjdk version "25.0.2" 2026-01-20 LTS'

# How a start from the bundled runtime ends, on a warm version cache. Each row: the -J option
# (key 125 hands it to the VM), the application's arguments (an "exit 9" that ends otherwise
# never reached main), the exit status, standard error
# (- nothing, THROWN the application's stack trace, MESSAGE message 1005 alone, any other text
# that line and then message 1005; ? not compared), standard output (- nothing, else an extended regex over all of it, \n for a
# line feed) and whether the launcher's temporary directory must be gone afterwards.
#   heap-unreservable: HotSpot prints its reason on standard output and ends the process itself
#   inside JNI_CreateJavaVM; the launcher's abort hook still shows message 1005 and removes its
#   directory first.
ENDS='
cached-system-exit | -                      | exit 7 | 7 | -                                               | -  | gone
main-throws        | -                      | throw  | 1 | THROWN                                          | -  | gone
option-malformed   | -J-XX:MaxHeapSize=lots | exit 9 | 1 | Invalid maximum heap size: -XX:MaxHeapSize=lots | -  | gone
option-unknown     | -J-XX:+NoSuchOption    | exit 4 | 4 | -                                               | -  | gone
heap-unreservable  | -J-Xmx200000g          | exit 9 | 1 | MESSAGE | Error occurred during initialization of VM\nCould not reserve enough space for [0-9]+ ?KB object heap\n | gone'

# Finding the runtime on a cleared cache, each row with its own route: the executable (its
# sequence and range), where the runtime is offered, whether it is found after the sequence
# (the fallback variables), and the exit status the application is asked for.
#   entry:    sequence EQUILLMOTE_JAVA_HOME, minimum 1.8 (the sample's range)
#   registry: sequence Y, minimum the line itself
SEARCHES='
quillmote-entry    | entry    | QUILLMOTE_JAVA_HOME | no  | 3
tarvo-fallback     | registry | TARVO_JAVA_HOME     | yes | 4
quillmote-fallback | registry | QUILLMOTE_JAVA_HOME | yes | 5
javasoft-runtime   | registry | runtime-key         | no  | 6
javasoft-kit       | registry | kit-key             | no  | 8'

# Ranges that refuse the runtime (offered through QUILLMOTE_JAVA_HOME, an E entry, so no fallback
# pass takes it anyway). Versions compare as bytes: "9" is above "11.0.13". @NEXT@ and @PREVIOUS@
# are the line plus and minus one. The first row runs java.exe, the others read the cache.
REFUSALS='
below-minimum | @NEXT@ |            | execution
above-maximum |        | @PREVIOUS@ | registry
text-order    | 9      |            | registry'

rows() { printf '%s\n' "$1" | grep -c '|'; }
CASES_PER_RUNTIME=$(( 1 + $(rows "$ENDS") + $(rows "$SEARCHES") + $(rows "$REFUSALS") ))

# ---------------------------------------------------------------------------------------------
# Layout and runs

# make_real_exe NAME SEQUENCE MINIMUM MAXIMUM: $LAYOUT/bin/NAME.exe, quillmote flavour, one
# included file (so every start makes a temporary directory), -J arguments as VM options.
make_real_exe() {
    make_exe --config "{'narrow': [(2001, 'i'), (10003, '..\\\\'), (122, 'realapp.ReportApp'), (121, 'A1realapp.jar;'),
        (128, r'$2'), (126, '$3'), (127, '$4'), (125, '1'), (146, r'..\\work'),
        (1005, '$VM_FAILED'), (1016, r'$NO_RUNTIME'), (2002, '1'), (2003, 'data.txt'),
        (123, r'-Dfrom.block=yes \"-Dquoted=a b\" -Dumlaut=äöü -Dreport.file=$LAYOUT_WIN\\report.txt')],
        'files': [b'included data']}" || return 1
    mv "$EXE" "$LAYOUT/bin/$1.exe"
    EXE=$LAYOUT/bin/$1.exe
    EXE_WIN=$(winpath "$EXE")
}

make_layout() {
    rm -rf "$LAYOUT"
    mkdir -p "$LAYOUT/bin" "$LAYOUT/.quillmote" "$LAYOUT/work"
    cp "$APP_JAR" "$LAYOUT/bin/realapp.jar" && cp "$RUNTIME_JAR" "$LAYOUT/.quillmote/qmoruntime.jar" &&
        link_real_runtime "$LAYOUT/jre" "$LINE" || return 1
    printf '%s\r\n' '-Dfrom.file=1' '-include-options extra.vmoptions' >"$LAYOUT/bin/app.vmoptions"
    printf '%s\r\n' '-Dfrom.include=1' >"$LAYOUT/bin/extra.vmoptions"
}

launcher_dirs() {
    local dirs=("$E2E_TMP_DIR"/tvo*.tmp_dir*)
    [ -e "${dirs[0]}" ] && printf '%s\n' "${dirs[@]}"
}

# run_real VARIABLE VALUE ARGS...: $EXE with the log on and VARIABLE=VALUE (- for none) in its
# environment; the log is $LOG_FILE afterwards. Directories an earlier start left are removed
# first, so that any found afterwards is this start's.
run_real() {
    local name=$1 value=$2
    shift 2
    clear_logs
    rm -rf "$E2E_TMP_DIR"/tvo*.tmp_dir* "$LAYOUT/report.txt"
    [ "$name" = - ] || export "$name=$value"
    TARVO_LOG=yes run_exe "$@"
    [ "$name" = - ] || unset "$name"
    find_logs
    # Kept with the case: the next start clears the TMP directory's logs.
    if [ -n "$LOG_FILE" ]; then cp "$LOG_FILE" "$CASE_DIR/log.txt"; else fail "no log"; fi
}

expect_real_stderr() {
    local err
    real_stderr err
    expect_eq "stderr" "$1" "$err"
}

# A message the launcher shows on standard error, with the log it names.
message() { printf '%s\n\nLog: %s\n' "$1" "$(log_winpath)"; }

expect_no_launcher_dir() {
    local left
    left=$(launcher_dirs)
    [ -z "$left" ] || fail "the launcher's temporary directory is left: $left"
}

log_text() { tr -d '\r' <"$LOG_FILE"; }

# The search's first version came from running java.exe (execution) or from the cache
# (registry); from the cache, no java.exe ran at all.
expect_version_from() {
    local first
    first=$(log_text | grep -a -m1 '^got version from ')
    expect_eq "first version line of the log" "got version from $1 $VERSION_TEXT" "$first"
    [ "$1" = registry ] || return 0
    if log_text | grep -a -q -E '^(got version from execution|Exit Code) '; then
        fail "java.exe ran although the version was cached" "log: $CASE_DIR/log.txt"
    fi
}

# ---------------------------------------------------------------------------------------------
# The cases of one Java line.

start_on_bundled_runtime() {
    new_case "java$LINE-bundled-start"
    make_layout || { fail "layout not made"; return 1; }
    make_real_exe entry 'EQUILLMOTE_JAVA_HOME' 1.8 '' && make_real_exe registry 'Y' "$LINE" '' &&
        make_real_exe app 'B..\jre' "$LINE" "$LINE" || return 1
    clear_runtime_registry
    run_real - - -J-Dfrom.command.line=yes 'a b' 'ünï 日本' 'quote"inside'
    expect_status 0
    expect_real_stderr ''
    expect_version_from execution
    expect_log_line "Trying to load JVM-DLL from $LAYOUT_LOWER\\jre\\bin\\java.exe"
    local report temp_dir
    read_text report "$LAYOUT/report.txt"
    temp_dir=$(printf '%s' "$report" | sed -n 's/^tarvo\.tempDir=//p')
    # A temporary file name with "_dir" and digits behind it, in TMP.
    expect_match "tarvo.tempDir" "^${E2E_TMP_WIN//\\/\\\\}\\\\tvo[0-9a-fA-F]+\\.tmp_dir[0-9]+\$" "$temp_dir"
    # Wine passes quote"inside on as quote\"inside, and the splitter knows no escapes.
    expect_eq "report" "java.version=$JAVA_VERSION
java.home=$LAYOUT_LOWER\\jre
tarvo.isQuillmote=true
tarvo.moduleName=$EXE_WIN
sun.java.command=$EXE_WIN
tarvo.programPath=$EXE_WIN
tarvo.guiApplication=false
tarvo.unextractedPosition=$(stat -c %s "$EXE")
tarvo.tempDir=$temp_dir
included data.txt=included data
java.class.path=$LAYOUT_WIN\\.quillmote\\qmoruntime.jar;$LAYOUT_WIN\\bin\\realapp.jar
user.dir=$LAYOUT_WIN\\work
from.block=yes
quoted=a b
umlaut=äöü
from.command.line=yes
from.file=1
from.include=1
java.library.path ends with $LAYOUT_LOWER\\jre\\bin
arg[0]=a b
arg[1]=ünï 日本
arg[2]=quote\\inside
non-daemon thread done
" "$report"
    # The runtime library's exit hook, after the non-daemon thread.
    expect_no_launcher_dir
    return 0
}

# Standard error of an exception from main, the part that depends on the runtime left out: the
# frames between the application's main and the launcher class become one "\t..." line, and no
# frame keeps its source position. The header "Exception in thread "main" " is dropped wherever
# it is: the VM writes it through its C runtime's buffered stream, which Wine flushes only at
# exit, after everything else.
thrown_stderr() {
    local err
    real_stderr err
    local header='Exception in thread "main" '
    [[ $err == *"$header"* ]] || fail "no $(visible "$header") on stderr"
    err=${err/"$header"/}
    printf '%s' "$err" | awk '
        /^\tat / { frame[++n] = $0; sub(/\(.*\)$/, "", frame[n]); next }
        n { print frame[1]; if (n > 2) print "\t..."; if (n > 1) print frame[n]; n = 0 }
        { print }'
}

ends_on_bundled_runtime() {
    local name option arguments status stderr stdout dir out expected
    while IFS='|' read -r name option arguments status stderr stdout dir; do
        [ -n "$name" ] || continue
        name=$(trim "$name"); option=$(trim "$option"); arguments=$(trim "$arguments")
        status=$(trim "$status"); stderr=$(trim "$stderr"); stdout=$(trim "$stdout"); dir=$(trim "$dir")
        new_case "java$LINE-end-$name"
        EXE=$LAYOUT/bin/app.exe
        # shellcheck disable=SC2086
        if [ "$option" = - ]; then run_real - - $arguments; else run_real - - "$option" $arguments; fi
        expect_status "$status"
        expect_version_from registry
        case $stderr in
            -) expect_real_stderr '' ;;
            \?) ;;
            MESSAGE) expect_real_stderr "$(message "$VM_FAILED")"$'\n' ;;
            THROWN)
                printf -v expected 'java.lang.IllegalStateException: thrown by the application\n%s\n%s\n%s\n%s' \
                    $'\tat realapp.ReportApp.main' $'\t...' $'\tat com.quillmote.runtime.launcher.WinLauncher.main' \
                    "$(message "$VM_FAILED")"
                expect_eq "stderr" "$expected" "$(thrown_stderr)" ;;
            *) expect_real_stderr "$stderr"$'\n'"$(message "$VM_FAILED")"$'\n' ;;
        esac
        read_text out "$CASE_DIR/out"
        if [ "$stdout" = - ]; then
            expect_eq "stdout" "" "$out"
        else
            printf -v expected '%b' "$stdout"
            expect_match "stdout" "^$expected\$" "$out"
        fi
        [ "$dir" != gone ] || expect_no_launcher_dir
    done <<<"$ENDS"
}

# seed_javasoft KEY: the runtime registered under HKLM\SOFTWARE\JavaSoft\KEY\<its version>,
# the runtimes' key with CurrentVersion naming it, the kits' key without.
seed_javasoft() {
    local current=
    [ "$1" = 'Java Runtime Environment' ] && current="\"CurrentVersion\"=\"$JAVA_VERSION\""
    seed_registry <<REG
[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\$1]
$current

[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\$1\\$JAVA_VERSION]
"JavaHome"="$(reg_path "$RUNTIME_DIR")"
REG
}

searches() {
    local name exe offered after code variable trace
    while IFS='|' read -r name exe offered after code; do
        [ -n "$name" ] || continue
        name=$(trim "$name"); exe=$(trim "$exe"); offered=$(trim "$offered"); after=$(trim "$after")
        code=$(trim "$code")
        new_case "java$LINE-search-$name"
        EXE=$LAYOUT/bin/$exe.exe
        clear_runtime_registry
        variable=-
        case $offered in
            runtime-key) seed_javasoft 'Java Runtime Environment' ;;
            kit-key) seed_javasoft 'Java Development Kit' ;;
            *) variable=$offered ;;
        esac
        run_real "$variable" "$HOME_WIN" exit "$code"
        expect_status "$code"
        expect_real_stderr ''
        expect_version_from execution
        expect_log_line "Trying to load JVM-DLL from $HOME_LOGGED\\bin\\java.exe"
        [ "$variable" != - ] || expect_log_line "found sun $HOME_LOGGED\\bin\\java.exe $VERSION_TEXT"
        trace=$(search_trace | sed -n '/^Search sequence finished$/,$p')
        if [ "$after" = yes ]; then
            expect_match "found after the sequence" 'Trying to load JVM-DLL' "$trace"
        else
            [ -z "$trace" ] || fail "found only after the sequence" "trace from its end: $trace"
        fi
        expect_no_launcher_dir
    done <<<"$SEARCHES"
}

refusals() {
    local name minimum maximum from
    while IFS='|' read -r name minimum maximum from; do
        [ -n "$name" ] || continue
        name=$(trim "$name"); from=$(trim "$from")
        minimum=$(trim "$minimum"); minimum=${minimum//@NEXT@/$((LINE + 1))}
        maximum=$(trim "$maximum"); maximum=${maximum//@PREVIOUS@/$((LINE - 1))}
        new_case "java$LINE-refused-$name"
        make_real_exe "refuse-$name" 'EQUILLMOTE_JAVA_HOME' "$minimum" "$maximum" || continue
        [ "$from" = execution ] && clear_runtime_registry
        run_real QUILLMOTE_JAVA_HOME "$HOME_WIN" exit 9
        expect_status 83
        expect_real_stderr "$(message "${NO_RUNTIME/'{0}'/64}")"$'\n'
        expect_version_from "$from"
        expect_no_launcher_dir
    done <<<"$REFUSALS"
}

# ---------------------------------------------------------------------------------------------
# Every pinned line: its cases when its runtime is fetched, else a skip (a failure under CI).

mapfile -t fetched_lines < <(available_runtimes)
skipped_lines=()
for pin in "${RUNTIME_PINS[@]}"; do
    LINE=${pin%% *}
    if [[ " ${fetched_lines[*]} " != *" $LINE "* ]]; then
        if [ "${CI:-}" = true ]; then
            new_case "java$LINE-fetched"
            fail "no Java $LINE runtime in $(runtime_home "$LINE") (run scripts/fetch-runtimes.sh)"
        else
            skipped_lines+=("$LINE")
        fi
        continue
    fi
    VERSION_LINE=$(printf '%s\n' "$VERSION_LINES" | sed -n "s/^$LINE *| *//p")
    if [ -z "$VERSION_LINE" ] || [ ! -f "$APP_JAR" ] || [ ! -f "$RUNTIME_JAR" ]; then
        new_case "java$LINE-prerequisites"
        [ -n "$VERSION_LINE" ] || fail "no version line for Java $LINE in VERSION_LINES"
        for jar in "$APP_JAR" "$RUNTIME_JAR"; do
            [ -f "$jar" ] || fail "missing $jar (build the host tree; HOST_BUILD=$HOST_BUILD)"
        done
        continue
    fi
    # java.version, and the version text the launcher keeps: everything after the opening quote
    # less the last character (a date loses its last digit, "LTS" its S).
    JAVA_VERSION=${VERSION_LINE#*\"}
    JAVA_VERSION=${JAVA_VERSION%%\"*}
    VERSION_TEXT=${VERSION_LINE#*\"}
    VERSION_TEXT=${VERSION_TEXT%?}
    LAYOUT=$E2E_WORK/cases/$E2E_FILE/java$LINE
    LAYOUT_WIN=$(winpath "$LAYOUT")
    LAYOUT_LOWER=${LAYOUT_WIN,,}
    # The runtime as the variables and registry entries name it: its home in the cache.
    RUNTIME_DIR=$(runtime_home "$LINE")
    HOME_WIN=$(winpath "$RUNTIME_DIR")
    HOME_LOGGED=${HOME_WIN,,}
    start_on_bundled_runtime || continue
    ends_on_bundled_runtime
    searches
    refusals
done

if [ ${#skipped_lines[@]} -gt 0 ]; then
    if [ ${#skipped_lines[@]} = ${#RUNTIME_PINS[@]} ]; then
        what='none fetched'
    else
        what="Java ${skipped_lines[*]} not fetched"
    fi
    echo "real runtimes: $what (run scripts/fetch-runtimes.sh): skipped $(( ${#skipped_lines[@]} * CASES_PER_RUNTIME )) cases"
fi
