# Finding a runtime: the order of the search, location files, the fallback pass, environment
# variables, the version cache, the JavaSoft and located-runtime registries and earlier
# installations. Every runtime is a stub layout made here (runtime_lib.sh); the executable sits in
# bin\ so that the sample entry ..\jre names the case folder's jre.
source "$E2E_DIR/runtime_lib.sh"

SAMPLE_SEQUENCE='B..\jre;EQUILLMOTE_JAVA_HOME;Y;EJAVA_HOME;EJDK_HOME;'
NO_RUNTIME='No 64-bit Java runtime ({0}-bit) found.'

# make_app NARROW_ENTRIES: $CASE_DIR/bin/app.exe with the sample's messages and application
# directory plus the given narrow entries (later entries win); sets CW (the case folder as the
# launcher spells it: absolute, lower case).
make_app() {
    make_exe --config "{'narrow': [(10003, '..\\\\'), (1016, r'$NO_RUNTIME'), (1018, 'Variable {0} names no runtime.'),
                                   (1020, 'Runtime at {0} is damaged.'), (1005, 'The VM could not be started.'), $1]}" || return 1
    mkdir -p "$CASE_DIR/bin"
    mv "$EXE" "$CASE_DIR/bin/app.exe"
    EXE=$CASE_DIR/bin/app.exe
    CW=$(winpath "$CASE_DIR")
    CW=${CW,,}
}

start_case() {
    new_case "$1"
    clear_logs
    clear_runtime_registry
}

# Runs the executable with the log on; the log is $LOG_FILE afterwards.
run_logged() {
    TARVO_LOG=yes run_exe "$@"
    find_logs
    [ -n "$LOG_FILE" ] || fail "no log"
}

expect_loaded_from() {  # the runtime home whose server\jvm.dll must be the one loaded
    local record=$1/bin/server/jvm-record.txt
    grep -q '^loaded ' "$record" 2>/dev/null || fail "no VM library loaded from $1"
    expect_status 0
}

# ---------------------------------------------------------------------------------------------
# The order of the search, seen from the log.

# Nothing to find: the sample sequence, the fallback pass over its B entry, then the end.
start_case order-nothing-found
make_app "(128, r'$SAMPLE_SEQUENCE'), (126, '1.7'), (127, '1.8')"
run_logged
expect_status 83
expect_stderr "No 64-bit Java runtime (64-bit) found.

Log: $(log_winpath)
"
expect_log_sequence "Testing location ..\\jre (type B)
checkJavaExe ($CW\\jre\\bin\\java.exe, [out], 1.7, 1.8, 1)
checkJavaExe returning 0
Testing location QUILLMOTE_JAVA_HOME (type E)
Testing location  (type Y)
Testing location JAVA_HOME (type E)
Testing location JDK_HOME (type E)
Testing relative location ..\\jre
Search sequence finished
ERROR: No JVM found"

# Every candidate is there but too old: each is checked in turn (environment variables with the
# beta filter on, directories with it off), and the fallback pass then takes ..\jre unchecked.
start_case order-every-candidate-too-old
make_app "(128, r'$SAMPLE_SEQUENCE'), (126, '1.7'), (127, '1.8')"
make_runtime "$CASE_DIR/jre" 'java version "1.6.0_45"' server
make_runtime "$CASE_DIR/qhome" 'java version "1.6.0_45"' server
make_runtime "$CASE_DIR/jhome" 'java version "1.6.0_45"' server
QUILLMOTE_JAVA_HOME=$(winpath "$CASE_DIR/qhome") JAVA_HOME=$(winpath "$CASE_DIR/jhome") \
TARVO_JAVA_HOME=$(winpath "$CASE_DIR/jhome") run_logged
expect_loaded_from "$CASE_DIR/jre"
expect_log_sequence "Testing location ..\\jre (type B)
checkJavaExe ($CW\\jre\\bin\\java.exe, [out], 1.7, 1.8, 1)
file exists
checkJavaExe returning 0
Testing location QUILLMOTE_JAVA_HOME (type E)
checkJavaExe ($(winpath "$CASE_DIR/qhome")\\bin\\java.exe, [out], 1.7, 1.8, 0)
file exists
checkJavaExe returning 0
Testing location  (type Y)
Testing location JAVA_HOME (type E)
checkJavaExe ($(winpath "$CASE_DIR/jhome")\\bin\\java.exe, [out], 1.7, 1.8, 0)
file exists
checkJavaExe returning 0
Testing location JDK_HOME (type E)
Testing relative location ..\\jre
$CW\\jre\\bin\\java.exe exists
Trying to load JVM-DLL from $CW\\jre\\bin\\java.exe
Trying $CW\\jre\\bin\\hotspot\\jvm.dll (exists 0)
Trying $CW\\jre\\bin\\client\\jvm.dll (exists 0)
Trying $CW\\jre\\bin\\server\\jvm.dll (exists 1)
Loading of JVM-DLL successful"

# With nothing else accepted, the two variables come last, TARVO_JAVA_HOME first; a "/" in a
# variable's value counts as "\".
while IFS='|' read -r name tarvo quill loaded; do
    name=$(trim "$name"); tarvo=$(trim "$tarvo"); quill=$(trim "$quill"); loaded=$(trim "$loaded")
    start_case "environment-$name"
    make_app "(128, 'Y'), (126, '1.7'), (127, '1.8')"
    make_runtime "$CASE_DIR/ok1" 'java version "1.8.0_20"' server
    make_runtime "$CASE_DIR/ok2" 'java version "1.7.0_80"' server
    make_runtime "$CASE_DIR/old" 'java version "1.5.0"' server
    slashed() { [ -n "$1" ] && winpath "$CASE_DIR/$1" | tr '\\' /; }
    TARVO_JAVA_HOME=$(slashed "$tarvo") QUILLMOTE_JAVA_HOME=$(slashed "$quill") run_logged
    if [ "$loaded" = none ]; then
        expect_status 83
    else
        expect_loaded_from "$CASE_DIR/$loaded"
        expect_match "search finished before the variables" 'Search sequence finished' "$(search_trace)"
    fi
done <<'T'
tarvo-first      | ok1 | ok2 | ok1
quillmote-second | old | ok2 | ok2
both-too-old     | old | old | none
T

# ---------------------------------------------------------------------------------------------
# Location files under the application directory: .quillmote\pref_jre.cfg before the sequence,
# .quillmote\inst_jre.cfg after it; only the first line counts. The sequence's own entry is an
# accepted runtime too, so each row shows which of them wins.

# location_file NAME CONTENT: CONTENT is printf format text (\r, \n, \0 as escapes), so paths
# go in through format_path.
format_path() { local p; p=$(winpath "$1"); printf '%s' "${p//\\/\\\\}"; }
location_file() {
    mkdir -p "$CASE_DIR/.quillmote"
    printf "$2" >"$CASE_DIR/.quillmote/$1"
}

while IFS='|' read -r name file content loaded logged; do
    name=$(trim "$name"); file=$(trim "$file"); content=$(trim "$content")
    loaded=$(trim "$loaded"); logged=$(trim "$logged")
    start_case "location-$name"
    make_app "(128, 'Bseq'), (126, '1.7'), (127, '1.8')"
    make_runtime "$CASE_DIR/bin/seq" 'java version "1.8.0_20"' server
    make_runtime "$CASE_DIR/loc" 'java version "1.8.0_20"' server
    make_runtime "$CASE_DIR/old" 'java version "1.6.0"' server
    location_file "$file" "${content//@CASE@/"$(format_path "$CASE_DIR")"}"
    run_logged
    expect_loaded_from "$CASE_DIR/$loaded"
    [ -z "$logged" ] || expect_match "log" "${logged//\\/\\\\}" "$(tr -d '\r' <"$LOG_FILE")"
done <<'T'
preferred-first        | pref_jre.cfg | @CASE@\\loc\r\nignored\r\n | loc     | Using preferred location
preferred-relative     | pref_jre.cfg | ..\\loc                    | loc     | Using preferred location
preferred-too-old      | pref_jre.cfg | @CASE@\\old\n              | bin/seq | Has preferred location
installer-after-seq    | inst_jre.cfg | @CASE@\\loc                | bin/seq |
preferred-empty-line   | pref_jre.cfg | \r\n@CASE@\\loc            | bin/seq | has an empty first line: skipped
preferred-not-text     | pref_jre.cfg | @CASE@\\l\0oc              | bin/seq | is not text: skipped
T

# The installer's location is taken when the sequence finds nothing, before the fallback pass.
start_case location-installer-when-sequence-fails
make_app "(128, 'Bseq'), (126, '1.7'), (127, '1.8')"
make_runtime "$CASE_DIR/bin/seq" 'java version "1.6.0"' server
make_runtime "$CASE_DIR/loc" 'java version "1.8.0_20"' server
location_file inst_jre.cfg "$(format_path "$CASE_DIR/loc")"
run_logged
expect_loaded_from "$CASE_DIR/loc"
expect_match "installer location used" 'Using installer location' "$(search_trace)"

# A first line longer than any path is refused whole, never cut into another path.
start_case location-over-long-line
make_app "(128, 'Bseq'), (126, '1.7'), (127, '1.8')"
make_runtime "$CASE_DIR/bin/seq" 'java version "1.8.0_20"' server
location_file pref_jre.cfg "$(format_path "$CASE_DIR/loc")$(printf '%6000s' '' | tr ' ' x)"
run_logged
expect_loaded_from "$CASE_DIR/bin/seq"
expect_match "log" 'has an over-long first line: skipped' "$(tr -d '\r' <"$LOG_FILE")"

# ---------------------------------------------------------------------------------------------
# The fallback pass: B entries always, A and R entries only with a relative text; main-pass
# texts are expanded, fallback texts are taken as written.
while IFS='|' read -r name sequence loaded; do
    name=$(trim "$name"); sequence=$(trim "$sequence"); loaded=$(trim "$loaded")
    start_case "fallback-$name"
    make_app "(128, r'${sequence//@CASE@/"$(winpath "$CASE_DIR")"}'), (126, '1.7'), (127, '1.8')"
    for home in a b r; do make_runtime "$CASE_DIR/$home" 'java version "1.6.0"' server; done
    run_logged
    if [ "$loaded" = none ]; then
        expect_status 83
    else
        expect_loaded_from "$CASE_DIR/$loaded"
    fi
done <<'T'
absolute-a-skipped   | A@CASE@\a;B@CASE@\b           | b
relative-a-tried     | A..\a;B@CASE@\b               | a
absolute-r-skipped   | R@CASE@\r                     | none
relative-r-tried     | R..\r                         | r
unexpanded-in-pass-2 | B${launcher:sys.launcherDirectory}..\b | none
T

# ---------------------------------------------------------------------------------------------
# Validation: the first line of -version output, the beta filter, the version cache.

# Each row: what java.exe prints first and its exit code, the range, whether the runtime is
# taken, and what the cache then holds for it ("1.0.0" marks a runtime that exited non-zero).
while IFS='|' read -r name line code minimum maximum taken cached; do
    name=$(trim "$name"); line=$(trim "$line"); code=$(trim "$code"); minimum=$(trim "$minimum")
    maximum=$(trim "$maximum"); taken=$(trim "$taken"); cached=$(trim "$cached")
    start_case "version-line-$name"
    make_app "(128, 'Ert'), (126, '$minimum'), (127, '$maximum')"
    make_runtime "$CASE_DIR/rt" "$line" server
    printf '%s' "$code" >"$CASE_DIR/rt/bin/java-exit.txt"
    rt=$(winpath "$CASE_DIR/rt") run_logged
    if [ "$taken" = yes ]; then expect_loaded_from "$CASE_DIR/rt"; else expect_status 83; fi
    expect_eq "cached version" "$cached" "$(cached_version "$(winpath "$CASE_DIR/rt")\\bin\\java.exe")"
done <<'T'
openjdk-with-date | openjdk version "11.0.2" 2019-01-15 | 0 | 1.8 |     | yes | 11.0.2" 2019-01-1
old-style         | java version "1.8.0_101"             | 0 | 1.7 | 1.8 | yes | 1.8.0_101
above-maximum     | java version "1.9"                   | 0 | 1.7 | 1.8 | no  | 1.9
text-order        | java version "1.10.0"                | 0 | 1.7 |     | no  | 1.10.0
other-first-line  | Picked up _JAVA_OPTIONS: -Xmx1g      | 0 |     |     | no  |
prefix-only       | java version "                       | 0 |     |     | no  |
exit-non-zero     | java version "1.8.0_101"             | 1 |     |     | no  | 1.0.0
T

# Environment-variable entries refuse beta versions unless key 130 lifts the filter; directory
# entries allow them.
while IFS='|' read -r name entry key130 taken; do
    name=$(trim "$name"); entry=$(trim "$entry"); key130=$(trim "$key130"); taken=$(trim "$taken")
    start_case "beta-$name"
    make_app "(128, r'$entry'), (126, '1.8'), (130, '$key130')"
    make_runtime "$CASE_DIR/rt" 'openjdk version "1.8.0-ea"' server
    rt=$(winpath "$CASE_DIR/rt") run_logged
    if [ "$taken" = yes ]; then
        expect_loaded_from "$CASE_DIR/rt"
    else
        expect_status 83
        expect_log_line "beta vm not allowed"
    fi
done <<'T'
variable-refused   | Ert         | 0 | no
variable-key-130   | Ert         | 1 | yes
directory-allowed  | A..\rt      | 0 | yes
T

# The cache: a first start runs every candidate's java.exe once, a second start none; a changed
# last-write time runs it again, and a runtime that exited non-zero runs on every start.
start_case cache-runs
make_app "(128, r'B..\old;B..\failing;B..\good'), (126, '1.7'), (127, '1.8')"
make_runtime "$CASE_DIR/old" 'java version "1.6.0_45"' server
make_runtime "$CASE_DIR/failing" 'java version "1.8.0_20"' server
printf 1 >"$CASE_DIR/failing/bin/java-exit.txt"
make_runtime "$CASE_DIR/good" 'java version "1.8.0_20"' server
runs() { echo "$(java_runs "$CASE_DIR/old") $(java_runs "$CASE_DIR/failing") $(java_runs "$CASE_DIR/good")"; }
run_logged
expect_loaded_from "$CASE_DIR/good"
expect_eq "java.exe runs after the first start (old failing good)" "1 1 1" "$(runs)"
clear_logs
run_logged
expect_eq "java.exe runs after the second start" "1 2 1" "$(runs)"
expect_log_line "got version from registry 1.8.0_20"
touch -d '2020-01-02 03:04:05' "$CASE_DIR/good/bin/java.exe"
clear_logs
run_logged
expect_eq "java.exe runs after the good one changed" "1 3 2" "$(runs)"
expect_status 0

# ---------------------------------------------------------------------------------------------
# Keys that shape a candidate: 107 = 1 hands on javaw.exe (which must exist), 131 requires a JDK
# (lib\tools.jar; its java.exe is the one under jre\bin).
start_case key-107-needs-javaw
make_app "(128, r'B..\nojavaw;B..\withjavaw'), (107, '1'), (126, '1.7')"
make_runtime "$CASE_DIR/nojavaw" 'java version "1.8.0_20"' server
make_runtime "$CASE_DIR/withjavaw" 'java version "1.8.0_20"' server
cp "$STUB_JAVA" "$CASE_DIR/withjavaw/bin/javaw.exe"
run_logged
expect_loaded_from "$CASE_DIR/withjavaw"
expect_log_line "Trying to load JVM-DLL from $CW\\withjavaw\\bin\\javaw.exe"
expect_eq "runs of the runtime without javaw.exe" 1 "$(java_runs "$CASE_DIR/nojavaw")"

start_case key-131-needs-tools-jar
make_app "(128, r'B..\jre-only;B..\jdk'), (131, '1'), (126, '1.7')"
make_runtime "$CASE_DIR/jre-only" 'java version "1.8.0_20"' server
make_runtime "$CASE_DIR/jdk/jre" 'java version "1.8.0_20"' server
mkdir -p "$CASE_DIR/jdk/lib"
: >"$CASE_DIR/jdk/lib/tools.jar"
run_logged
expect_loaded_from "$CASE_DIR/jdk/jre"
expect_eq "runs of the runtime without tools.jar" 0 "$(java_runs "$CASE_DIR/jre-only")"

# ---------------------------------------------------------------------------------------------
# The registries behind a Y entry.

# JavaSoft runtimes newest first by text order, within the range; only 1.7 is really usable, so
# every name above it is tried first and 1.6 never.
start_case javasoft-newest-first
make_app "(128, 'Y'), (126, '1.7'), (127, '1.8')"
for v in 1.6 1.7 1.7.0_80 1.8 1.8.0_101; do make_runtime "$CASE_DIR/r$v" 'java version "1.5.0"' server; done
printf 'java version "1.7.0_01"\r\n' >"$CASE_DIR/r1.7/bin/java-version.txt"
for v in 1.6 1.7 1.7.0_80 1.8 1.8.0_101; do
    printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\%s]\n"JavaHome"="%s"\n\n' \
        "$v" "$(reg_path "$CASE_DIR/r$v")"
done | seed_registry
run_logged
expect_loaded_from "$CASE_DIR/r1.7"
expect_eq "homes checked, in order" "r1.8.0_101 r1.8 r1.7.0_80 r1.7" \
    "$(search_trace | sed -n 's/^checkJavaExe (.*\\\(r[^\\]*\)\\bin\\java.exe.*/\1/p' | tr '\n' ' ' | sed 's/ $//')"
expect_log_line "found sun $CW\\r1.7\\bin\\java.exe 1.7.0_01"

# CurrentVersion: the development kit's wins only with a strictly higher version.
while IFS='|' read -r name jdk jre loaded; do
    name=$(trim "$name"); jdk=$(trim "$jdk"); jre=$(trim "$jre"); loaded=$(trim "$loaded")
    start_case "current-version-$name"
    make_app "(128, 'Y'), (126, '1.7'), (127, '1.8')"
    make_runtime "$CASE_DIR/jdkhome" 'java version "1.8.0_20"' server
    make_runtime "$CASE_DIR/jrehome" 'java version "1.8.0_20"' server
    seed_registry <<REG
[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Development Kit]
"CurrentVersion"="$jdk"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Development Kit\\$jdk]
"JavaHome"="$(reg_path "$CASE_DIR/jdkhome")"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment]
"CurrentVersion"="$jre"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\$jre]
"JavaHome"="$(reg_path "$CASE_DIR/jrehome")"
REG
    run_logged
    expect_loaded_from "$CASE_DIR/$loaded"
done <<'T'
tie-goes-to-runtime | 1.8     | 1.8 | jrehome
kit-higher          | 1.8.0_5 | 1.8 | jdkhome
T

# Located runtimes: the higher version wins, the machine's entry on a tie between hives, a
# located runtime on a tie with a JavaSoft one; key 165 keeps only runtimes under qmo_jres and
# skips the JavaSoft registries.
located_key() { printf '%s' "$(winpath "$1")\\bin\\java.exe" | tr '\\' /; }
while IFS='|' read -r name user machine javasoft key165 loaded; do
    name=$(trim "$name"); user=$(trim "$user"); machine=$(trim "$machine"); javasoft=$(trim "$javasoft")
    key165=$(trim "$key165"); loaded=$(trim "$loaded")
    start_case "located-$name"
    make_app "(128, 'Y'), (126, '1.7'), (127, '1.8'), (165, '$key165')"
    make_runtime "$CASE_DIR/user" "java version \"$user\"" server
    make_runtime "$CASE_DIR/qmo_jres/machine" "java version \"$machine\"" server
    make_runtime "$CASE_DIR/vendor" "java version \"$javasoft\"" server
    seed_registry <<REG
[HKEY_CURRENT_USER\\SOFTWARE\\quorvian\\tarvo\\locatedjvms\\$(located_key "$CASE_DIR/user")]

[HKEY_LOCAL_MACHINE\\SOFTWARE\\quorvian\\tarvo\\locatedjvms\\$(located_key "$CASE_DIR/qmo_jres/machine")]

[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.8]
"JavaHome"="$(reg_path "$CASE_DIR/vendor")"
REG
    run_logged
    expect_loaded_from "$CASE_DIR/$loaded"
done <<'T'
user-higher         | 1.8.0_9 | 1.8.0_5 | 1.7.0_1 | 0 | user
tie-goes-to-machine | 1.8.0_5 | 1.8.0_5 | 1.7.0_1 | 0 | qmo_jres/machine
vendor-higher       | 1.8.0_5 | 1.8.0_5 | 1.8.0_6 | 0 | vendor
tie-goes-to-located | 1.7.0_1 | 1.8.0_5 | 1.8.0_5 | 0 | qmo_jres/machine
own-runtimes-only   | 1.8.0_9 | 1.8.0_5 | 1.8.0_9 | 1 | qmo_jres/machine
T

# Registry values are outside input: a home that is empty or not text is skipped with a log line.
while IFS='|' read -r name value logged; do
    name=$(trim "$name"); value=$(trim "$value"); logged=$(trim "$logged")
    start_case "javasoft-value-$name"
    make_app "(128, 'Y'), (126, '1.7'), (127, '1.8')"
    seed_registry <<REG
[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.8]
"JavaHome"=$value
REG
    run_logged
    expect_status 83
    expect_log_line "$logged"
done <<'T'
empty      | ""                  | registry value JavaHome is empty: skipped
binary     | hex:5a,3a,5c,00,ff  | registry value JavaHome is not text: skipped
T

# Earlier installations of the same application (key 160), after the fallback pass: the user's
# hive first; a listed directory without a runtime is passed over.
start_case previous-installation
make_app "(128, 'Y'), (126, '1.7'), (127, '1.8'), (160, 'sample-app')"
mkdir -p "$CASE_DIR/first"
make_runtime "$CASE_DIR/second/jre" 'java version "1.8.0_20"' server
seed_registry <<REG
[HKEY_CURRENT_USER\\SOFTWARE\\quorvian\\quillmote\\installations]
"sample-app"="$(reg_path "$CASE_DIR/first");$(reg_path "$CASE_DIR/second")"
REG
run_logged
expect_loaded_from "$CASE_DIR/second/jre"
expect_log_line "java version did not match in $(winpath "$CASE_DIR/first")\\jre"
expect_log_line "found JRE from previous installation (user) $CW\\second\\jre\\bin\\java.exe"
