# Names the launcher picks for itself: the log file when earlier names are taken, and the
# temporary directory when the user's one cannot be spelled in the ANSI code page.

# ---------------------------------------------------------------------------------------------
# Log names are qmo_nlog_ and a number counted up from the process id, skipping names that
# exist. Wine process ids are multiples of 4 from a table of 512 ids (2076 at most) that grows
# by half only when more than 256 threads live at once; taking names by a pattern up to 3200
# makes the process id's own name taken whatever it is. The launcher must step on to the first
# free name: one new log, in TMP, nothing in C:\.
LOG_NAME_RANGE=3200
while IFS='|' read -r name taken; do
    name=$(trim "$name"); taken=$(trim "$taken")
    new_case "log-name-$name"
    clear_logs
    logdir=$CASE_DIR/logs
    mkdir -p "$logdir"
    for (( n = 0; n < LOG_NAME_RANGE; n++ )); do
        (( $taken )) && echo "qmo_nlog_$n"
    done | sort >"$CASE_DIR/planted"
    (cd "$logdir" && xargs touch <"$CASE_DIR/planted")
    make_exe --config "{'narrow': {101: 'App'}}" || continue
    set_tmp "$(winpath "$logdir")"
    TARVO_LOG=yes run_exe
    reset_tmp
    [ "$RC" != 124 ] && [ "$RC" != 5 ] || fail "the launcher crashed or hung (status $RC)"
    [ ! -e "$E2E_C_DRIVE/qmo_nlog" ] || fail "the fallback log C:\qmo_nlog was written"
    expect_log_count 0 "$E2E_C_DRIVE"
    # Every planted name is still there and still empty: none was opened over.
    (cd "$logdir" && find . -name 'qmo_nlog_*' -size 0 -printf '%f\n' | sort) >"$CASE_DIR/empty"
    expect_eq "planted names gone or written to" "" \
        "$(comm -23 "$CASE_DIR/planted" "$CASE_DIR/empty" | head -3)"
    # The one new name: free, and right after a taken one (the process id's, or the last of the
    # run of taken names that follows it).
    new=$(cd "$logdir" && ls | sort | comm -13 "$CASE_DIR/planted" -)
    if [ -z "$new" ] || [[ $new == *$'\n'* ]]; then
        fail "$(printf '%s' "$new" | grep -c .) new log files, expected 1" "new: $(visible "$new")"
    else
        n=$(( ${new#qmo_nlog_} - 1 ))
        grep -qxF "qmo_nlog_$n" "$CASE_DIR/planted" ||
            fail "log $new is not the first free name after the process id" \
                "qmo_nlog_$n was free (process id above $LOG_NAME_RANGE?)"
        expect_match "first line of the log" '^Started executable ' "$(head -1 "$logdir/$new")"
    fi
    rm -rf "$logdir"
    clear_logs
done <<'T'
every-fourth-taken  | n % 4 == 0
runs-of-three-taken | n % 4 != 3
T

# ---------------------------------------------------------------------------------------------
# A TMP the ANSI code page (1252) cannot spell and without a usable short form: the launcher tries
# <windows>\temp, c:\temp, c:\tmp and <windows>, in that order, and last creates c:\tmp when c:\
# is writable. Wine gives every existing folder a short name the code page can spell, and the
# launcher takes that one first; so here TMP lies in a folder that does not exist, which has no
# short name and which nothing creates (the log then goes to C:\). A
# candidate is writable when its probe folder tvo_w_testdir can be made there (a stale one is
# removed first); a file of that name blocks it, whatever the Unix permissions. The chosen
# directory is logged as tempPath and gets the launcher's empty tvo*.tmp file. No probe folder
# may be left in any candidate.
#
# States: ok (directory there), absent, blocked (a file tvo_w_testdir in it), stale (an empty
# probe folder left in it). "none" expects the launch to end with text 1015 and no c:\tmp.
NO_TEMP_TEXT='No usable temporary folder'
PROBE=tvo_w_testdir
CANDIDATES=(windows/temp temp tmp windows .)   # under drive_c, in the table's column order

# c:\temp and c:\tmp as they were before this file ran are put aside and brought back at the end
# (after an interrupted run, the ones put aside then are the originals).
saved=$E2E_WORK/name-choices-saved
mkdir -p "$saved"
for d in temp tmp; do
    if [ -e "$saved/$d" ]; then rm -rf "${E2E_C_DRIVE:?}/$d"
    elif [ -e "$E2E_C_DRIVE/$d" ]; then mv "$E2E_C_DRIVE/$d" "$saved/$d"; fi
done

# Back to a prefix without probes, launcher files or the c:\temp and c:\tmp of a case.
restore_candidates() {
    local d
    for d in "${CANDIDATES[@]}"; do
        rm -rf "${E2E_C_DRIVE:?}/$d/$PROBE"
        rm -rf "$E2E_C_DRIVE/$d"/tvo*.tmp "$E2E_C_DRIVE/$d"/tvo*.tmp_dir*
    done
    rm -rf "$E2E_C_DRIVE/temp" "$E2E_C_DRIVE/tmp"
}

while IFS='|' read -r name windows_temp c_temp c_tmp windows root chosen; do
    name=$(trim "$name"); chosen=$(trim "$chosen")
    states=("$(trim "$windows_temp")" "$(trim "$c_temp")" "$(trim "$c_tmp")" "$(trim "$windows")"
            "$(trim "$root")")
    new_case "temp-fallback-$name"
    restore_candidates
    for i in "${!CANDIDATES[@]}"; do
        dir=$E2E_C_DRIVE/${CANDIDATES[$i]}
        case ${states[$i]} in
            absent) ;;
            ok) mkdir -p "$dir" ;;
            blocked) mkdir -p "$dir" && : >"$dir/$PROBE" ;;
            stale) mkdir -p "$dir/$PROBE" ;;
        esac
    done
    tmp=$CASE_DIR/absent/一時フォルダ
    clear_logs
    make_exe --config "{'narrow': [(1015, '$NO_TEMP_TEXT'), (2002, '1'), (2003, 'a.txt')], 'files': [b'abc']}" ||
        { restore_candidates; continue; }
    set_tmp "$(winpath "$tmp")"
    TARVO_LOG=yes run_exe
    reset_tmp
    if [ "$chosen" = none ]; then
        expect_status 1
        read_text err "$CASE_DIR/err"
        expect_eq "first line of stderr" "$NO_TEMP_TEXT" "${err%%$'\n'*}"
        [ ! -e "$E2E_C_DRIVE/tmp" ] || fail "c:\\tmp was created"
    else
        [ "$RC" != 124 ] && [ "$RC" != 5 ] || fail "the launcher crashed or hung (status $RC)"
        find_logs "$E2E_C_DRIVE"
        if [ -z "$LOG_FILE" ]; then
            fail "no log in C:\\"
        else
            expect_log_line "temporary path has no usable short form; trying the shared folders"
            expect_log_line "tempPath is $chosen"
        fi
        # c:\tmp -> drive_c/tmp, C:\windows\temp -> drive_c/windows/temp
        landing=${chosen,,}
        landing=$E2E_C_DRIVE/${landing#c:\\}
        landing=${landing//\\//}
        files=("$landing"/tvo*.tmp)
        [ -e "${files[0]}" ] || fail "no launcher file tvo*.tmp in $chosen"
    fi
    for i in "${!CANDIDATES[@]}"; do
        probe=$E2E_C_DRIVE/${CANDIDATES[$i]}/$PROBE
        if [ "${states[$i]}" = blocked ]; then
            [ -f "$probe" ] || fail "the blocking file $probe was changed"
        else
            [ ! -e "$probe" ] || fail "probe folder left behind: $probe"
        fi
    done
    restore_candidates
    clear_logs
done <<'T'
windows-temp-first | ok      | ok      | ok      | ok      | ok      | C:\windows\temp
c-temp-second      | blocked | ok      | ok      | ok      | ok      | c:\temp
c-tmp-third        | blocked | blocked | ok      | ok      | ok      | c:\tmp
windows-fourth     | blocked | absent  | absent  | ok      | ok      | C:\windows
c-tmp-created-last | blocked | absent  | absent  | blocked | ok      | c:\tmp
nothing-writable   | blocked | absent  | absent  | blocked | blocked | none
stale-probe        | stale   | ok      | ok      | ok      | ok      | C:\windows\temp
T

for d in temp tmp; do
    if [ -e "$saved/$d" ]; then mv "$saved/$d" "$E2E_C_DRIVE/$d"; fi
done
rmdir "$saved"
