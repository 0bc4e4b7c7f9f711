# Included files: the records behind the block are written, unscrambled, into a fresh launcher
# directory in the temporary directory; a launch that fails on the way removes that directory and
# writes nothing anywhere else.

INTERNAL_ERROR='An internal error occurred (error code: {0})'

# The launcher's own directories: a tvo temporary file name followed by "_dir" and a number.
# (The empty tvo*.tmp files beside them are left by design.)
find_launcher_dirs() {
    LAUNCHER_DIRS=("$E2E_TMP_DIR"/tvo*.tmp_dir*)
    [ -e "${LAUNCHER_DIRS[0]}" ] || LAUNCHER_DIRS=()
}

# make_included_exe COUNT NAMES RECORDS: key 2002, key 2003 and the records as a fragment of the
# block description ('files': [...] or 'tail': 'hex').
make_included_exe() {
    make_exe --config "{'narrow': [(1009, '$INTERNAL_ERROR'), (2002, '$1'), (2003, r'$2')], $3}"
}

# A record larger than the 6000-byte copy buffer, holding every byte value: written to
# $CASE_DIR/large.expected, its literal in $LARGE.
large_record() {
    LARGE=$("$PYTHON" -c '
import sys
data = bytes(range(256)) * 51
open(sys.argv[1], "wb").write(data)
print(repr(data))' "$CASE_DIR/large.expected")
}

# Launches that succeed. "path=text" expects that file with that content (LARGE: the large
# record), "path=-" expects no such file, "(none)" expects no launcher directory at all.
# Records in tails: 0600000000000000 D4C2C4C8C9C3 is "second", scrambled.
while IFS='|' read -r name count names records expected; do
    name=$(trim "$name"); names=$(trim "$names"); records=$(trim "$records")
    new_case "$name"
    rm -rf "$E2E_TMP_DIR"/tvo*.tmp_dir*
    large_record
    # Spliced, not substituted: "&" and backslashes in the literal are special to ${x//a/b}.
    [[ $records == *LARGE* ]] && records=${records%%LARGE*}$LARGE${records#*LARGE}
    make_included_exe "$(trim "$count")" "$names" "$records" || continue
    run_exe
    expect_status 0
    expect_stderr ''
    find_launcher_dirs
    if [ "$(trim "$expected")" = '(none)' ]; then
        [ ${#LAUNCHER_DIRS[@]} = 0 ] || fail "a launcher directory was created: ${LAUNCHER_DIRS[*]}"
        continue
    fi
    [ ${#LAUNCHER_DIRS[@]} = 1 ] || { fail "${#LAUNCHER_DIRS[@]} launcher directories"; continue; }
    for pair in $expected; do
        path=${LAUNCHER_DIRS[0]}/${pair%%=*} content=${pair#*=}
        case $content in
            -) [ ! -e "$path" ] || fail "${pair%%=*} was created" ;;
            LARGE) cmp -s "$CASE_DIR/large.expected" "$path" || fail "${pair%%=*} differs or is missing" ;;
            *) if [ -f "$path" ]; then expect_eq "${pair%%=*}" "$content" "$(cat "$path")"
               else fail "${pair%%=*} is missing"; fi ;;
        esac
    done
    rm -rf "${LAUNCHER_DIRS[@]}"
done <<'T'
file-and-subdirectory | 2 | a.txt;lib\b.jar     | 'files': [LARGE, b'jar']                                 | a.txt=LARGE lib/b.jar=jar
same-subdirectory     | 2 | lib\a.jar;lib\b.jar | 'files': [b'a', b'b']                                    | lib/a.jar=a lib/b.jar=b
empty-names-skipped   | 2 | ;a.txt;;b.txt;      | 'files': [b'first', b'second']                           | a.txt=first b.txt=second
dots-inside-a-name    | 1 | v1..2.txt           | 'files': [b'x']                                          | v1..2.txt=x
size-zero             | 2 | empty.txt;b.txt     | 'files': [b'', b'second']                                | empty.txt=- b.txt=second
size-negative         | 2 | neg.txt;b.txt       | 'tail': 'FFFFFFFFFFFFFFFF 0600000000000000 D4C2C4C8C9C3' | neg.txt=- b.txt=second
count-above-names     | 3 | a.txt               | 'files': [b'first', b'unread']                           | a.txt=first
count-below-names     | 1 | a.txt;b.txt         | 'files': [b'first', b'second']                           | a.txt=first b.txt=-
count-zero            | 0 | a.txt               | 'files': [b'first']                                      | (none)
T

# Launches that fail while extracting: the message and exit status 1, the launcher directory
# removed with whatever it held, and nothing written outside it. Names that would leave the
# directory are refused like a file that cannot be created (code 11); a record that runs past
# the end of the executable is a read failure (code 16, "/" the bytes it found); one cut inside
# its size is a damaged block. The log is on to see the read failure reported.
OUTSIDE=("$E2E_TMP_DIR/evil.txt" "$E2E_C_DRIVE/evil.txt" "/evil.txt")
while IFS='|' read -r name names records error; do
    name=$(trim "$name"); names=$(trim "$names"); error=$(trim "$error")
    new_case "$name"
    rm -rf "$E2E_TMP_DIR"/tvo*.tmp_dir* "${OUTSIDE[@]}"
    clear_logs
    make_included_exe 2 "$names" "$(trim "$records")" || continue
    TARVO_LOG=yes run_exe
    expect_status 1
    find_logs
    [ -n "$LOG_FILE" ] || { fail "no log"; continue; }
    case $error in
        readLong) shown='Internal Error: readLong' ;;
        *) shown=${INTERNAL_ERROR/'{0}'/${error%%/*}} ;;
    esac
    expect_stderr "$shown"$'\n\nLog: '"$(log_winpath)"$'\n'
    if [ "${error%%/*}" = 16 ]; then
        # The read failure with the bytes that were there, then the file it was writing.
        read_failure=$(grep -n -E "^ERROR: ReadFile failed -?[0-9]+ [0-9]+ ${error#*/}.?\$" "$LOG_FILE" |
                       cut -d: -f1)
        extract_failure=$(grep -n -E '^ERROR: Failed to extract .*_dir[0-9]+\\b\.txt.?$' "$LOG_FILE" | cut -d: -f1)
        [ -n "$read_failure" ] && [ -n "$extract_failure" ] && [ "$read_failure" -lt "$extract_failure" ] ||
            fail "log lacks ReadFile failed followed by Failed to extract ...\\b.txt" "log: $LOG_FILE"
    fi
    find_launcher_dirs
    [ ${#LAUNCHER_DIRS[@]} = 0 ] || fail "launcher directory left behind: ${LAUNCHER_DIRS[*]}"
    for path in "${OUTSIDE[@]}"; do
        [ ! -e "$path" ] || fail "written outside the launcher directory: $path"
    done
    rm -rf "${LAUNCHER_DIRS[@]}" "${OUTSIDE[@]}"
done <<'T'
two-levels           | a\b\c.txt              | 'files': [b'abc', b'x']                                 | 11
parent-backslash     | ..\evil.txt            | 'files': [b'abc', b'x']                                 | 11
parent-slash         | ../evil.txt            | 'files': [b'abc', b'x']                                 | 11
parent-inside        | lib\..\..\evil.txt     | 'files': [b'abc', b'x']                                 | 11
parent-inside-slash  | lib/../../evil.txt     | 'files': [b'abc', b'x']                                 | 11
absolute-with-drive  | C:\evil.txt            | 'files': [b'abc', b'x']                                 | 11
drive-relative       | C:evil.txt             | 'files': [b'abc', b'x']                                 | 11
rooted               | \evil.txt              | 'files': [b'abc', b'x']                                 | 11
rooted-slash         | /evil.txt              | 'files': [b'abc', b'x']                                 | 11
unsafe-after-written | lib\ok.jar;..\evil.txt | 'files': [b'ok', b'x']                                  | 11
size-past-the-end    | lib\ok.jar;b.txt       | 'files': [b'ok'], 'tail': '6400000000000000 0102030405' | 16/5
size-huge            | lib\ok.jar;b.txt       | 'files': [b'ok'], 'tail': 'FFFFFFFFFFFFFF7F 01'         | 16/1
cut-inside-size      | lib\ok.jar;b.txt       | 'files': [b'ok'], 'tail': '0300'                        | readLong
T

# A TMP that the ANSI code page (1252 here) cannot spell: the launcher directory goes to TMP by
# its short name (@SHORT@), which the code page can spell; the log stays in TMP (it is opened by
# its wide name). When TMP has no short name (a folder under absent/ is not made), it goes to the
# first writable fallback, C:\windows\temp, named without a trailing backslash, and the log to
# C:\. A TMP with a character that code page has is kept as the system gives it. The log is narrow
# text in that code page, so lines are compared as such.
WINDOWS_TEMP=$E2E_C_DRIVE/windows/temp
while read -r name folder temp_path landing; do
    new_case "temp-$name"
    [[ $folder == absent/* ]] || mkdir -p "$CASE_DIR/$folder"
    clear_logs
    rm -rf "$WINDOWS_TEMP"/tvo*.tmp_dir*
    make_included_exe 1 a.txt "'files': [b'abc']" || continue
    set_tmp "$(winpath "$CASE_DIR/$folder")"
    TARVO_LOG=yes run_exe
    reset_tmp
    expect_status 0
    expect_stderr ''
    temp_path=${temp_path//@TMP@/$(winpath "$CASE_DIR/$folder")\\}
    [[ $temp_path == *@SHORT@* ]] &&
        temp_path=${temp_path//@SHORT@/$(short_winpath "$(winpath "$CASE_DIR/$folder")\\")}
    log_folder=$CASE_DIR/$folder
    [ -d "$log_folder" ] || log_folder=$E2E_C_DRIVE
    find_logs "$log_folder"
    if [ -z "$LOG_FILE" ]; then
        fail "no log in $log_folder"
    else
        line=$(printf 'tempPath is %s\r' "$temp_path" | iconv -f UTF-8 -t CP1252)
        LC_ALL=C grep -qxF -- "$line" "$LOG_FILE" ||
            fail "log has no line $(visible "tempPath is $temp_path")" "log: $LOG_FILE"
    fi
    landing=${landing//@TMP@/$CASE_DIR/$folder}
    landing=${landing//@WINDOWS_TEMP@/$WINDOWS_TEMP}
    extracted=("$landing"/tvo*.tmp_dir*/a.txt)
    expect_eq "file extracted into $landing" abc "$(cat "${extracted[0]}" 2>/dev/null)"
    rm -rf "$WINDOWS_TEMP"/tvo*.tmp_dir* "$WINDOWS_TEMP"/tvo*.tmp
    clear_logs
done <<'T'
unrepresentable          一時フォルダ        @SHORT@         @TMP@
unrepresentable-no-short absent/一時フォルダ C:\windows\temp @WINDOWS_TEMP@
code-page-1252           Zürich              @TMP@           @TMP@
T
