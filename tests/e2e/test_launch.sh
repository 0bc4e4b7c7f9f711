# The launch: the option list the VM receives, the array handed to the Java-side launcher's main,
# and every way a launch ends. The VM is the stub jvm.dll, which records what it was given in
# jvm-record.txt beside it (runtime_lib.sh).
source "$E2E_DIR/runtime_lib.sh"
unset MANPATH

# make_launch_app NARROW: $CASE_DIR/bin/app.exe with the messages of a failed launch, and a
# stub runtime in $CASE_DIR/rt that the start finds through TARVO_JAVA_HOME.
make_launch_app() {
    make_exe --config "{'narrow': [(1005, 'The VM could not be started.'), (1006, 'Missing {0}.'), (1008, 'Define {0}.'),
                                   (1009, 'Internal error {0}.'), (1010, 'No launcher class.'), (1011, 'No main method.'),
                                   (10003, '..\\\\'), $1]}" || return 1
    mkdir -p "$CASE_DIR/bin"
    mv "$EXE" "$CASE_DIR/bin/app.exe"
    EXE=$CASE_DIR/bin/app.exe
    EXE_WIN=$(winpath "$EXE")
    EXE_DIR="$(winpath "$CASE_DIR/bin")\\"
    make_runtime "$CASE_DIR/rt" 'java version "1.8.0_101"' server
    RECORD=$CASE_DIR/rt/bin/server/jvm-record.txt
}

behaviour() { printf '%s\n' "$@" >"$CASE_DIR/rt/bin/server/jvm-behaviour.txt"; }

run_launch() {
    TARVO_JAVA_HOME=$(winpath "$CASE_DIR/rt") run_exe "$@"
}

recorded_options() { tr -d '\r' <"$RECORD" | sed -n 's/^option\[[0-9]*\]=//p'; }

# The elements of the String[] handed to CLASS.main.
recorded_main_array() {
    tr -d '\r' <"$RECORD" | awk -v call="CallStaticVoidMethod $1.main" '
        $0 == call { inside = 1; next }
        inside && /^  arg\[[0-9]+\]=/ { sub(/^  arg\[[0-9]+\]=/, ""); print; next }
        { inside = 0 }'
}

expect_recorded() {  # a line the stub VM must have recorded
    grep -qxF -- "$1" <(tr -d '\r' <"$RECORD") && return 0
    fail "the VM recorded no line $(visible "$1")" "record: $RECORD"
}
expect_not_recorded() {
    grep -qF -- "$1" <(tr -d '\r' <"$RECORD") || return 0
    fail "the VM recorded $(visible "$1")" "record: $RECORD"
}

# PATH as Windows processes inherit it, which the library path property carries, runtime appended.
wine cmd /c 'echo %PATH%' </dev/null >"$E2E_WORK/path-var.txt" 2>/dev/null
INHERITED_PATH=$(tr -d '\r\n' <"$E2E_WORK/path-var.txt")

# ---------------------------------------------------------------------------------------------
# A full start: every source of options, in order, and the class path with its directives. Wine
# writes the argument quote"inside as quote\"inside on the command line, and the launcher's
# splitter knows no escapes: the quote opens a quoted part that runs to the end.
new_case full-option-list
make_launch_app "(122, 'com.example.Main'), (125, '1'), (102, '0'), (104, '1'), (105, r'\${launcher:sys.tempDir}out.log'), (106, '1'),
                 (121, r'A1app.jar;S0libs;E0CPVAR;'), (124, r'\"first arg\" second'),
                 (123, r'-Xmx256m \"-Dquoted=a b\" -Dexp=\${launcher:sys.launcherDirectory}x -include-options conf\\\\extra.vmoptions')"
mkdir -p "$CASE_DIR/bin/libs" "$CASE_DIR/bin/conf" "$CASE_DIR/bin/sub"
: >"$CASE_DIR/bin/app.jar"; : >"$CASE_DIR/bin/libs/b.jar"; : >"$CASE_DIR/bin/libs/a.zip"; : >"$CASE_DIR/bin/libs/c.jarx"
printf '%s\r\n' '-Dfrom.extra=1' >"$CASE_DIR/bin/conf/extra.vmoptions"
printf '%s\r\n' '# a comment' '  -Dfrom.file=1  ' '-include-options sub\inc.vmoptions' \
    '-classpath/a ${launcher:sys.launcherDirectory}after.jar' '-Dafter.include=1' >"$CASE_DIR/bin/app.vmoptions"
printf '%s\n' '-Dfrom.include=1' '-classpath/p before.jar' '-classpath/a ignored.jar' >"$CASE_DIR/bin/sub/inc.vmoptions"
CPVAR='"Z:\quoted\dir;"' run_launch -J-Xss2m 'a b' -Dsun.locale.formatasdefault=false 'ünï' 'quote"inside'
expect_status 0
expect_eq "options" "-Dtarvo.moduleName=$EXE_WIN
-Dsun.java.command=$EXE_WIN
-Dtarvo.tempDir=
-Dtarvo.unextractedPosition=0
-Djava.library.path=$INHERITED_PATH;$(winpath "$CASE_DIR/rt" | tr 'A-Z' 'a-z')\\bin
-Dtarvo.consoleCodepage=cp437
-Xmx256m
-Dquoted=a b
-Dexp=${EXE_DIR}x
-Dfrom.extra=1
-Xss2m
-Dsun.locale.formatasdefault=false
-Duser.language=en
-Duser.country=US
-Dfrom.file=1
-Dfrom.include=1
-Dafter.include=1
-Djava.class.path=before.jar;${EXE_DIR}app.jar;${EXE_DIR}libs\\b.jar;${EXE_DIR}libs\\a.zip;Z:\\quoted\\dir;${EXE_DIR}after.jar
abort" \
    "$(recorded_options)"
expect_recorded "JNI_CreateJavaVM version=0x00010002 nOptions=19 ignoreUnrecognized=1"
expect_eq "main array" "false
com.example.Main

${E2E_TMP_WIN}\\out.log
true
$EXE_WIN
first arg
second
a b
ünï
quote\\inside" "$(recorded_main_array com/tarvo/runtime/WinLauncher)"
expect_recorded "DestroyJavaVM"

# The quillmote flavour: its property, its launcher class and its runtime library on the class
# path; with key 125 off, -J arguments reach the application; MANPATH drops the code page.
new_case quillmote-flavour
make_launch_app "(2001, 'i'), (122, 'com.example.Main'), (121, 'A0app.jar')"
MANPATH= run_launch -J-Xss2m x
expect_status 0
expect_eq "options" "-Dtarvo.isQuillmote=true
-Dtarvo.moduleName=$EXE_WIN
-Dsun.java.command=$EXE_WIN
-Dtarvo.tempDir=
-Dtarvo.unextractedPosition=0
-Djava.library.path=$INHERITED_PATH;$(winpath "$CASE_DIR/rt" | tr 'A-Z' 'a-z')\\bin
-Djava.class.path=$(winpath "$CASE_DIR")\\.quillmote\\qmoruntime.jar;${EXE_DIR}app.jar
abort" "$(recorded_options)"
expect_eq "main array" "false
com.example.Main


false
$EXE_WIN
-J-Xss2m
x" "$(recorded_main_array com/quillmote/runtime/launcher/WinLauncher)"
expect_not_recorded "FindClass com/quillmote/runtime/launcher/FirstRun"

# ---------------------------------------------------------------------------------------------
# How a launch ends. Each row: flavour, first-run marker (yes/no), what the stub VM is told, the
# standard error expected (\n for a line break), the exit status and whether main was called.
while IFS='|' read -r name flavour marker told expected status main_called; do
    name=$(trim "$name"); flavour=$(trim "$flavour"); marker=$(trim "$marker"); told=$(trim "$told")
    expected=$(trim "$expected"); status=$(trim "$status"); main_called=$(trim "$main_called")
    new_case "end-$name"
    make_launch_app "(2001, '$flavour'), (122, 'com.example.Main')"
    [ "$marker" = yes ] && { mkdir -p "$CASE_DIR/.quillmote"; : >"$CASE_DIR/.quillmote/firstrun"; }
    [ "$told" = - ] || behaviour ${told//,/ }
    run_launch
    expect_status "$status"
    printf -v expected '%b' "$expected"
    expect_stderr "$expected"
    called=no
    grep -q '^CallStaticVoidMethod .*WinLauncher\.main' "$RECORD" 2>/dev/null && called=yes
    expect_eq "main called" "$main_called" "$called"
done <<'T'
returns              | e | no  | -                                             |                                                            | 0 | yes
creation-fails       | e | no  | create-result=-1                              | The VM could not be started.\n                             | 1 | no
launcher-class-gone  | e | no  | missing-class=com/tarvo/runtime/WinLauncher   | No launcher class.\n                                       | 1 | no
main-method-gone     | e | no  | missing-method=main                           | No main method.\n                                          | 1 | no
main-throws          | e | no  | throw-from=main                               | Exception in thread "main" java.lang.RuntimeException: thrown by the stub VM\nThe VM could not be started.\n | 1 | yes
system-exit          | e | no  | exit-in-main=7                                |                                                            | 7 | yes
first-run-goes-on    | i | yes | -                                             |                                                            | 0 | yes
first-run-stops      | i | yes | firstrun-result=false                         |                                                            | 0 | no
first-run-throws     | i | yes | throw-from=firstRun                           | Exception in thread "main" java.lang.RuntimeException: thrown by the stub VM\n | 0 | no
first-run-class-gone | i | yes | missing-class=com/quillmote/runtime/launcher/FirstRun | Internal error 14.\n                               | 1 | no
first-run-method-gone| i | yes | missing-method=firstRun                       | Internal error 15.\n                                       | 1 | no
marker-in-tarvo      | e | yes | -                                             |                                                            | 0 | yes
T

# A non-daemon thread keeps the process up: the launcher waits in DestroyJavaVM.
new_case waits-for-threads
make_launch_app "(122, 'com.example.Main')"
behaviour thread-ms=1500
run_launch
expect_status 0
expect_recorded "DestroyJavaVM waited 1500 ms"

# Mandatory class-path entries that are missing end the launch with their messages; optional
# ones do not, and a "-classpath " directive skips the configured entries altogether.
while IFS='|' read -r name entries vmoptions expected status; do
    name=$(trim "$name"); entries=$(trim "$entries"); vmoptions=$(trim "$vmoptions")
    expected=$(trim "$expected"); status=$(trim "$status")
    new_case "class-path-$name"
    make_launch_app "(122, 'com.example.Main'), (121, r'$entries')"
    [ -z "$vmoptions" ] || printf '%s\r\n' "$vmoptions" >"$CASE_DIR/bin/app.vmoptions"
    run_launch
    expect_status "$status"
    printf -v expected '%b' "$expected"
    expect_stderr "$expected"
done <<'T'
mandatory-archive | A1missing.jar;            |                          | Missing missing.jar.\n | 1
mandatory-scan    | S1nodir                   |                          | Missing nodir.\n       | 1
mandatory-var     | E1NO_SUCH_VAR             |                          | Define NO_SUCH_VAR.\n  | 1
optional-missing  | A0missing.jar;S0nodir;E0NO_SUCH_VAR |                |                        | 0
replaced          | A1missing.jar             | -classpath other.jar     |                        | 0
T
