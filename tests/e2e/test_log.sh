# The diagnostic log: what switches it on, where the file goes, its first lines, the log-file
# notice box and the "Log:" line under error texts.

# The smallest block that loads (key 101 = App).
LOADS='D513E4E8 00000000 00000000 0000000000000000 01000000 65000000 03000000 417070 00000000 00000000'
WRONG_MAGIC='D413E4E8 00000000 00000000 0000000000000000 00000000 00000000 00000000'
# Key 1000 = Oops, then a wide text cut short.
CUT_WIDE='D513E4E8 00000000 00000000 0000000000000000 01000000 E8030000 04000000 4F6F7073 01000000 7A000000 06000000 4100'
CTIME='[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}'
NOTICE_HEAD=$'The following log file will be created:\n\n'
NOTICE_TAIL=$'\n\nDo you want to open an Explorer window?'

# Only the exact value "yes" of either variable switches the log on.
while read -r name variable value logs; do
    new_case "switch-$name"
    clear_logs
    make_exe --hex "$LOADS" || continue
    [ "$variable" = - ] || declare -x "$variable=$value"
    run_exe
    [ "$variable" = - ] || unset "$variable"
    expect_status 0
    expect_log_count "$logs"
    expect_log_count 0 "$E2E_C_DRIVE"
    [ ! -e "$E2E_C_DRIVE/qmo_nlog" ] || fail "the fallback log C:\qmo_nlog was written"
done <<'T'
off            -             -    0
tarvo          TARVO_LOG     yes  1
quillmote      QUILLMOTE_LOG yes  1
capital-y      TARVO_LOG     Yes  0
upper-case     QUILLMOTE_LOG YES  0
longer-value   TARVO_LOG     yess 0
T

# The file starts with the executable and the time, then an empty line; finding the block is
# traced with the values of the section table (read here independently of the launcher).
new_case header-and-section-table
clear_logs
make_exe --hex "$LOADS" &&
TARVO_LOG=yes run_exe
expect_status 0
expect_log_count 1
if [ -n "$LOG_FILE" ]; then
    read_text log "$LOG_FILE"
    first=${log%%$'\n'*}
    started="Started executable $(winpath "$EXE") at "
    expect_eq "first line start" "$started" "${first:0:${#started}}"
    expect_match "time on the first line" "^$CTIME\$" "${first:${#started}}"
    expect_eq "second line" "" "$(sed -n 2p "$LOG_FILE" | tr -d '\r')"
    read -r sections optional last raw_size raw_offset _ < <(
        "$PYTHON" "$BLOCKWRITER" pe-info "$EXE" | sed 's/[a-z_]*=//g')
    expect_log_line "number of sections: $sections"
    expect_log_line "size of optional headers: $optional"
    expect_log_line "resSectionTableStart: $last"
    expect_log_line "rawDataSize: $raw_size, rawDataOffset: $raw_offset"
    # Text mode: every line feed is written as carriage return plus line feed.
    expect_eq "lines without a carriage return" 0 "$(grep -cv $'\r$' "$LOG_FILE")"
fi

# TMP chooses the directory (TEMP does not); without such a directory the log goes to C:\.
while read -r name tmp where; do
    new_case "directory-$name"
    clear_logs
    rm -rf "$E2E_WORK/tmp-choice"
    mkdir -p "$E2E_WORK/tmp-choice/logdir"
    make_exe --hex "$LOADS" || continue
    set_tmp "$(winpath "$E2E_WORK/tmp-choice/$tmp")"
    TARVO_LOG=yes run_exe
    reset_tmp
    expect_status 0
    case $where in
        tmp) expect_log_count 1 "$E2E_WORK/tmp-choice/logdir" ;;
        c)   expect_log_count 1 "$E2E_C_DRIVE" ;;
    esac
    expect_log_count 0
done <<'T'
tmp-only        logdir        tmp
missing-tmp     nosuchdir     c
T

# The log-file option as the first argument switches the log on and asks, in a Yes/No box
# titled with the product word, whether to open Explorer; "No" (7) lets the launch go on.
while read -r name option flavour title; do
    new_case "option-$name"
    clear_logs
    if [ "$flavour" = - ]; then make_exe --hex "$LOADS"
    else make_exe --config "{'narrow': {2001: '$flavour'}}"; fi || continue
    run_exe_answering_box "$title" 7 "$option" app-argument
    expect_status 0
    expect_log_count 1
    expect_box "$title" "$NOTICE_HEAD$(log_winpath)$NOTICE_TAIL"
done <<'T'
dash-qmo-no-flavour   -create-qmo-log -  quillmote
dash-tvo-flavour-i    -create-tvo-log i  quillmote
slash-qmo-flavour-e   /create-qmo-log e  tarvo
slash-tvo-flavour-ex  /create-tvo-log ex tarvo
T

# Anywhere else, or spelled differently, it is an ordinary argument: no log, no box (a box
# would keep the launcher waiting until the run times out).
while read -r name args; do
    new_case "not-an-option-$name"
    clear_logs
    make_exe --hex "$LOADS" || continue
    read -r -a argv <<<"$args"
    run_exe "${argv[@]}"
    expect_status 0
    expect_log_count 0
done <<'T'
second-argument  app-argument -create-qmo-log
upper-case       -Create-qmo-log
T

# With the log on, an error text ends with an empty line and "Log: " with the log's long path.
new_case error-on-stderr-names-log
clear_logs
make_exe --hex "$WRONG_MAGIC" &&
TARVO_LOG=yes run_exe -q_qmo_internal
expect_status 1
expect_log_count 1
[ -n "$LOG_FILE" ] && expect_stderr $'Internal Error: magic\n\nLog: '"$(log_winpath)"$'\n'

new_case error-box-names-log
clear_logs
make_exe --hex "$CUT_WIDE" &&
QUILLMOTE_LOG=yes run_exe_answering_box Oops 1
expect_status 1
expect_log_count 1
[ -n "$LOG_FILE" ] && expect_box Oops $'Internal Error: readWString\n\nLog: '"$(log_winpath)"
expect_stderr ''

# The option switches the log on before the block is read; the notice would come after it, so
# a damaged block shows only the error, with the log named under it.
new_case option-then-damaged-block
clear_logs
make_exe --hex "$WRONG_MAGIC" &&
run_exe_answering_box '' 1 -create-qmo-log
expect_status 1
expect_log_count 1
[ -n "$LOG_FILE" ] && expect_box '' $'Internal Error: magic\n\nLog: '"$(log_winpath)"

# A TMP given in short form: the log is named by its long path under the error.
new_case error-names-long-path
rm -rf "$E2E_WORK/tmp-choice"
mkdir -p "$E2E_WORK/tmp-choice/Long Log Folder Name"
long_tmp=$(winpath "$E2E_WORK/tmp-choice/Long Log Folder Name")
EXE=$FIXTURES_DIR/rigprobe.exe
run_exe shortpath "$long_tmp"
read_text short_tmp "$CASE_DIR/out"
[ -n "$short_tmp" ] && [ "$short_tmp" != "$long_tmp" ] ||
    fail "no short form of $long_tmp: $(visible "$short_tmp")"
make_exe --hex "$WRONG_MAGIC" &&
set_tmp "$short_tmp" &&
TARVO_LOG=yes run_exe -q_qmo_internal
reset_tmp
expect_status 1
expect_log_count 1 "$E2E_WORK/tmp-choice/Long Log Folder Name"
[ -n "$LOG_FILE" ] &&
    expect_stderr $'Internal Error: magic\n\nLog: '"$long_tmp\\$(basename "$LOG_FILE")"$'\n'
