# The diagnostic log leaves alone what it did not write, and keeps whole lines when wide text goes
# beyond the ANSI code page.

# The smallest block that loads (key 101 = App), and one with a wrong magic number.
LOADS='D513E4E8 00000000 00000000 0000000000000000 01000000 65000000 03000000 417070 00000000 00000000'
WRONG_MAGIC='D413E4E8 00000000 00000000 0000000000000000 00000000 00000000 00000000'
NOTICE_HEAD=$'The following log file will be created:\n\n'
NOTICE_TAIL=$'\n\nDo you want to open an Explorer window?'
BEETLE=$'\u0416\u0443\u043a'  # three Cyrillic letters, none of them in code page 1252

# ---------------------------------------------------------------------------------------------
# The fixed fallback C:\qmo_nlog, taken when the TMP directory refuses new files (procfs takes no
# new names, not even from root). A file already there is reused only when it is an earlier log:
# it begins with the log's first words. Anything else stays as it was and the start runs without
# a log. An error text then names no log; the log-file option shows no notice.

FALLBACK=$E2E_C_DRIVE/qmo_nlog
# An earlier log, longer than any start here writes: a reused file that was not emptied first
# would keep its tail.
OLD_LOG=$'Started executable Z:\\old\\app.exe at Mon Jan  1 00:00:00 2024\r\n\r\n'$(printf 'old line\r\n%.0s' {1..4000})

# plant KIND: what lies at C:\qmo_nlog before the start; a copy of a planted file goes to
# $CASE_DIR/planted for comparison.
plant() {
    [ "$1" = none ] && return
    [ "$1" = directory ] && { mkdir "$FALLBACK"; return; }
    case $1 in
        precious)  printf 'precious data\r\nsecond line\r\n' ;;
        empty)     printf '' ;;
        near-miss) printf 'Started executables: 3\r\n' ;;
        lower)     printf 'started executable Z:\\x.exe at\r\n' ;;
        short)     printf 'Started exec' ;;
        binary)    printf 'Started executable \0\377\376 binary\n' ;;
        old-log)   printf '%s' "$OLD_LOG" ;;
    esac >"$FALLBACK"
    cp "$FALLBACK" "$CASE_DIR/planted"
}

expect_fallback_kept() {
    if [ "$1" = directory ]; then
        [ -d "$FALLBACK" ] && [ -z "$(ls -A "$FALLBACK")" ] || fail "the planted directory C:\\qmo_nlog changed"
    elif ! cmp -s "$CASE_DIR/planted" "$FALLBACK"; then
        fail "C:\\qmo_nlog changed" "before: $(visible "$(cat -v "$CASE_DIR/planted")")" \
            "after:  $(visible "$(cat -v "$FALLBACK" 2>/dev/null)")"
    fi
}

# The file holds this start's log from its first byte on, nothing of what was there before.
expect_fallback_log() {
    [ -f "$FALLBACK" ] || { fail "no log C:\\qmo_nlog"; return; }
    local log started="Started executable $(winpath "$EXE") at "
    read_text log "$FALLBACK"
    expect_eq "first line start" "$started" "${log:0:${#started}}"
    [[ $log != *"old line"* ]] || fail "the earlier log's lines are still there" "log: $(visible "$log")"
    [[ $log == *$'\nnumber of sections: '* ]] ||
        fail "the log goes on without the block's lines" "log: $(visible "$log")"
}

# Checking a runtime's version needs a temporary file; a start with a usable TMP puts the default
# runtime's version in the per-user cache, so the starts below get past the runtime search.
new_case runtime-version-cached
make_exe --hex "$LOADS" &&
run_exe
expect_status 0

while IFS='|' read -r name planted run outcome; do
    name=$(trim "$name"); planted=$(trim "$planted"); run=$(trim "$run"); outcome=$(trim "$outcome")
    new_case "fallback-$name"
    clear_logs
    rm -rf "$FALLBACK"
    plant "$planted"
    if [ "$run" = error ]; then make_exe --hex "$WRONG_MAGIC"; else make_exe --hex "$LOADS"; fi || continue
    set_tmp 'Z:\proc'
    case $run in
        start)
            TARVO_LOG=yes run_exe
            expect_status 0 ;;
        error)
            TARVO_LOG=yes run_exe -q_qmo_internal
            expect_status 1
            if [ "$outcome" = kept ]; then expect_stderr $'Internal Error: magic\n'
            else expect_stderr $'Internal Error: magic\n\nLog: c:\\qmo_nlog\n'; fi ;;
        option)
            # No log, no notice: a box here would hold the start until the run times out.
            if [ "$outcome" = kept ]; then
                run_exe -create-qmo-log
            else
                run_exe_answering_box quillmote 7 -create-qmo-log
                expect_box quillmote "${NOTICE_HEAD}c:\\qmo_nlog$NOTICE_TAIL"
            fi
            expect_status 0 ;;
    esac
    reset_tmp
    expect_log_count 0 "$E2E_C_DRIVE"
    if [ "$outcome" = kept ]; then expect_fallback_kept "$planted"; else expect_fallback_log; fi
    rm -rf "$FALLBACK"
done <<'T'
precious-start       | precious  | start  | kept
precious-error       | precious  | error  | kept
precious-option      | precious  | option | kept
empty                | empty     | start  | kept
near-miss            | near-miss | start  | kept
lower-case           | lower     | start  | kept
shorter-than-header  | short     | start  | kept
binary-after-header  | binary    | start  | log
directory            | directory | start  | kept
earlier-log-start    | old-log   | start  | log
earlier-log-error    | old-log   | error  | log
earlier-log-option   | old-log   | option | log
none-start           | none      | start  | log
none-error           | none      | error  | log
T

# ---------------------------------------------------------------------------------------------
# Wide text beyond the code page: each such character becomes "?" and the line goes on to its end.

# Each row: the folder of bin\app.exe, one configured text (key and text), the value of FOO (- for
# none) and a line the log must hold. @B@ stands for the three letters, @EXE@ for the executable's
# directory as the log shows it, with "?" for each of them.
while IFS='|' read -r name folder key configured value line; do
    name=$(trim "$name"); folder=$(trim "$folder"); key=$(trim "$key"); configured=$(trim "$configured")
    value=$(trim "$value"); line=$(trim "$line")
    new_case "wide-text-$name"
    clear_logs
    make_exe --config "{'narrow': [($key, r'$configured')]}" || continue
    folder=$CASE_DIR/${folder//@B@/$BEETLE}
    mkdir -p "$folder/bin"
    mv "$EXE" "$folder/bin/app.exe"
    EXE=$folder/bin/app.exe
    exe_dir="$(winpath "$folder/bin" | sed "s/$BEETLE/???/g")\\"
    if [ "$value" = - ]; then TARVO_LOG=yes run_exe
    else FOO=${value//@B@/$BEETLE} TARVO_LOG=yes run_exe; fi
    expect_status 0
    find_logs
    [ -n "$LOG_FILE" ] || { fail "no log"; continue; }
    expect_log_line "${line//@EXE@/$exe_dir}"
done <<'T'
wide-value   | app     | 146   | ${FOO}      | @B@   | expanding2 ${FOO} to ??? in ???.
wide-in-path | app     | 146   | ${FOO}\tail | x@B@y | change working directory to @EXE@x???y\tail
narrow-value | app     | 10004 | ${FOO}      | @B@   | expanding2 ${FOO} to ??? in ???.
exe-path     | dir-@B@ | 101   | App         | -     | vmoptions: opts2: @EXE@app.exe.vmoptions, file: 0000000000000000
T
