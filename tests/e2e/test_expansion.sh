# Variable expansion in the two texts expanded before a runtime is chosen: the working directory
# (key 146, wide) and the native-library directories put in front of PATH (key 10004, narrow).
# Both are resolved against the executable's directory, which the cases keep apart from the
# current directory by putting the executable in bin\.

# Environment seen by the launcher: Wine passes the Unix variables on with their names intact.
# SelfRef refers to itself; Holder holds a launcher token, which is expanded before any
# environment reference and so must stay as it is when Holder's value is inserted.
export MyVar=one SelfRef='a${SelfRef}' Holder='${launcher:sys.launcherDirectory}'

# PATH as Windows processes inherit it: Wine builds it (the Unix PATH is not passed on as is).
wine cmd /c 'echo %PATH%' </dev/null >"$E2E_WORK/path-var.txt" 2>/dev/null
INHERITED_PATH=$(tr -d '\r\n' <"$E2E_WORK/path-var.txt")

# make_bin_exe NARROW: $CASE_DIR/bin/app.exe with those narrow entries, run from $CASE_DIR.
make_bin_exe() {
    make_exe --config "{'narrow': [$1]}" || return 1
    mkdir -p "$CASE_DIR/bin"
    mv "$EXE" "$CASE_DIR/bin/app.exe"
    EXE=$CASE_DIR/bin/app.exe
    EXE_DIR="$(winpath "$CASE_DIR/bin")\\"
}

# @EXE@ stands for the executable's directory, @TMP@ for the temporary directory; both end in a
# backslash.
placeholders() {
    local text=${1//@EXE@/$EXE_DIR}
    printf '%s' "${text//@TMP@/$E2E_TMP_WIN\\}"
}

# Key 146: what the working directory becomes. Tokens and names are case-sensitive; an
# environment reference matches the name as written or in capitals only; percent signs never
# name environment variables; the launcher's temporary directory does not exist yet, so its token
# is empty.
# expect_expanded CASE KEY CONFIGURED PREFIX EXPECTED [SUFFIX]: one start with KEY set, which must
# log PREFIX, EXPECTED with its placeholders filled for this case's executable, then SUFFIX.
expect_expanded() {
    new_case "$1"
    clear_logs
    make_bin_exe "($2, r'$3')" || return
    TARVO_LOG=yes run_exe
    expect_status 0
    find_logs
    [ -n "$LOG_FILE" ] || { fail "no log"; return; }
    expect_log_line "$4$(placeholders "$5")${6:-}"
}

while IFS='|' read -r name configured expected; do
    name=$(trim "$name"); configured=$(trim "$configured"); expected=$(trim "$expected")
    expect_expanded "working-directory-$name" 146 "$configured" "change working directory to " "$expected"
done <<'T'
launcher-directory  | ${launcher:sys.launcherDirectory}work       | @EXE@work
exedir-percent      | %TARVO_EXEDIR%work                          | @EXE@work
token-case          | ${Launcher:sys.launcherDirectory}work       | @EXE@${Launcher:sys.launcherDirectory}work
temp-dir            | ${launcher:sys.tempDir}work                 | @TMP@work
launcher-temp-empty | ${launcher:sys.launcherTempDirectory}work   | @EXE@work
environment-case    | ${MyVar}-${MYVAR}-${myvar}-${MyVAR}-%MyVar% | @EXE@one-one-${myvar}-${MyVAR}-%MyVar%
value-names-itself  | ${SelfRef}                                  | @EXE@a${SelfRef}
value-holds-token   | ${Holder}x                                  | @EXE@${launcher:sys.launcherDirectory}x
T

# Key 10004: the directories in front of the inherited PATH, each resolved, empty entries
# dropped, followed by one ";". Empty, the key writes PATH back unchanged.
while IFS='|' read -r name configured expected; do
    name=$(trim "$name"); configured=$(trim "$configured"); expected=$(trim "$expected")
    expect_expanded "native-path-$name" 10004 "$configured" "Setting PATH (native libs) " "$expected" \
        "$INHERITED_PATH"
done <<'T'
empty              |                                                                          |
tokens             | ${launcher:sys.launcherDirectory}lib;%TARVO_EXEDIR%bin;%TARVO_EXEDIR%jni | @EXE@lib;@EXE@bin;@EXE@jni;
temp-dir           | ${launcher:sys.tempDir}native                                            | @TMP@native;
environment-case   | ${MyVar};${MYVAR};${myvar}                                               | @EXE@one;@EXE@one;@EXE@${myvar};
empty-entries      | ;;lib;;                                                                  | @EXE@lib;
value-names-itself | ${SelfRef}                                                               | @EXE@a${SelfRef};
T

# A 10,000-character value cannot fit the 6000-character texts: the expanded text is cut with
# one error line, its resolved path is cut to 5999 characters too, and the launch goes on.
BIG=$(printf '%10000s' '' | tr ' ' x)
while read -r name key configured log_prefix; do
    new_case "cut-$name"
    clear_logs
    make_bin_exe "($key, r'$configured')" || continue
    Big=$BIG TARVO_LOG=yes run_exe
    expect_status 0
    find_logs
    [ -n "$LOG_FILE" ] || { fail "no log"; continue; }
    expect_eq "cut lines" 1 "$(grep -c -a -F 'ERROR: expanded text cut to' "$LOG_FILE")"
    expect_log_line 'ERROR: expanded text cut to 5999 characters while expanding ${Big}'
    # The longest run of x on the line is what arrived of the value, behind the directory.
    run=$(grep -a -F "$log_prefix" "$LOG_FILE" | grep -o 'xxx*' |
          awk '{ if (length($0) > n) n = length($0) } END { print n + 0 }')
    expect_eq "length of the resolved path" 5999 $(( ${#EXE_DIR} + run ))
done <<'T'
working-directory 146   ${Big}   change working directory to
native-path       10004 a;${Big} Setting PATH (native libs)
T
