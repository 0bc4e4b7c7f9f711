# The launcher's temporary directory belongs to the user: it lies in the user's own temporary
# folder, also when the ANSI code page cannot spell that folder's name, and only the user, SYSTEM
# and Administrators may use it and the directories made in it.

INTERNAL_ERROR='An internal error occurred (error code: {0})'
PROBE=tvo_w_testdir

# make_private_exe NAMES RECORDS: included files (key 2002 counts the records), and the launcher
# directory as the native-library folder (key 10004), which puts it at the front of PATH.
make_private_exe() {
    local count
    count=$(grep -o "b'" <<<"$2" | wc -l)
    make_exe --config "{'narrow': [(1009, '$INTERNAL_ERROR'), (2002, '$count'), (2003, r'$1'),
        (10004, '\${launcher:sys.launcherTempDirectory}')], 'files': [$2]}"
}

# The launcher's directories in a folder: a tvo temporary name, "_dir" and a number.
find_launcher_dirs_in() {
    LAUNCHER_DIRS=("$1"/tvo*.tmp_dir*)
    [ -e "${LAUNCHER_DIRS[0]}" ] || LAUNCHER_DIRS=()
}

# ---------------------------------------------------------------------------------------------
# A TMP the ANSI code page (1252) cannot spell is taken by its short name, which it can: the
# launcher directory goes there and to the front of PATH, and nothing goes to the shared
# fallbacks (C:\windows\temp, c:\temp, c:\tmp, C:\windows), whatever probe files were planted
# there to steer the choice. Column "planted": the shared folders that hold a file tvo_w_testdir
# beforehand.
SHARED=(windows/temp temp tmp)          # under drive_c
SNAPSHOT=("${SHARED[@]}" windows)       # folders whose entries must not change

# c:\temp and c:\tmp exist during these rows so that the old choice had somewhere to go; those
# made here, and the files planted here, are removed again.
made=()
for d in temp tmp; do
    [ -e "$E2E_C_DRIVE/$d" ] || { mkdir -p "$E2E_C_DRIVE/$d" && made+=("$E2E_C_DRIVE/$d"); }
done

snapshot_shared() {
    local d
    for d in "${SNAPSHOT[@]}"; do
        (cd "$E2E_C_DRIVE/$d" && find . -maxdepth 1 -printf "$d/%P %y\n") 2>/dev/null
    done | sort
}

while IFS='|' read -r name folder planted; do
    name=$(trim "$name"); folder=$(trim "$folder"); planted=$(trim "$planted")
    new_case "short-form-$name"
    planted_files=()
    for d in $planted; do
        [ -e "$E2E_C_DRIVE/$d/$PROBE" ] && continue  # someone else's: left as it is
        : >"$E2E_C_DRIVE/$d/$PROBE" && planted_files+=("$E2E_C_DRIVE/$d/$PROBE")
    done
    tmp=$CASE_DIR/$folder
    mkdir -p "$tmp"
    clear_logs
    snapshot_shared >"$CASE_DIR/shared.before"
    if make_private_exe 'a.txt' "b'abc'"; then
        set_tmp "$(winpath "$tmp")"
        TARVO_LOG=yes run_exe
        reset_tmp
        expect_status 0
        expect_stderr ''
        short=$(short_winpath "$(winpath "$tmp")\\")
        expect_match "short form of TMP (as Wine gives it)" '^[ -~]+\\$' "$short"
        find_logs "$tmp"
        if [ -z "$LOG_FILE" ]; then
            fail "no log in TMP"
        else
            expect_log_line "temporary path taken in its short form"
            expect_log_line "tempPath is $short"
        fi
        find_launcher_dirs_in "$tmp"
        if [ ${#LAUNCHER_DIRS[@]} = 1 ]; then
            expect_eq "a.txt in the launcher directory" abc "$(cat "${LAUNCHER_DIRS[0]}/a.txt" 2>/dev/null)"
            path=$(tr -d '\r' <"${LOG_FILE:-/dev/null}" | sed -n 's/^Setting PATH (native libs) //p' | head -1)
            expect_eq "first PATH entry" "$short$(basename "${LAUNCHER_DIRS[0]}")" "${path%%;*}"
        else
            fail "${#LAUNCHER_DIRS[@]} launcher directories in TMP, expected 1"
        fi
        snapshot_shared >"$CASE_DIR/shared.after"
        expect_eq "entries added to or removed from the shared folders" "" \
            "$(diff "$CASE_DIR/shared.before" "$CASE_DIR/shared.after" | grep '^[<>]')"
        for f in "${planted_files[@]}"; do
            [ -f "$f" ] && [ ! -s "$f" ] || fail "the planted file $f was changed"
        done
    fi
    rm -f "${planted_files[@]}"
done <<'T'
nothing-planted        | Жук          |
windows-temp-planted   | Жук          | windows/temp
all-shared-planted     | 一時フォルダ | windows/temp temp tmp
T
rm -rf "${made[@]}"
clear_logs

# ---------------------------------------------------------------------------------------------
# Who may use the launcher directory and a directory made in it for an included file. The
# launcher asks for a protected list granting full access (FA) to the user, SYSTEM (SY) and
# Administrators (BA) only. Wine 8 keeps no access lists on files: it turns one into Unix mode
# bits and builds the list it reports from those bits, so what it can show is this: no entry for
# anyone else (an open directory reports Everyone, WD) and no Unix access for others. The
# protection flag and the Administrators entry do not survive that round trip. The "open" row is
# a folder the test makes itself, to show the check tells the two apart.
ACLPROBE=$FIXTURES_DIR/aclprobe.exe

# check_access WHAT DACL USER EXPECTED UNIX_PATH: EXPECTED is private or open.
check_access() {
    local what=$1 dacl=$2 user=$3 expected=$4 unix=$5 type rights sid mode others=() user_full=0
    expect_match "$what: access list" '^D:[A-Z]*(\([^()]*\))+$' "$dacl"
    while IFS=';' read -r type _ rights _ _ sid; do
        case $sid in
            "$user") [ "$type" = A ] && [ "$rights" = FA ] && user_full=1 ;;
            SY|BA) ;;
            *) others+=("$sid") ;;
        esac
        [ "$type" = A ] || others+=("$type:$sid")
    done < <(grep -o '([^()]*)' <<<"$dacl" | tr -d '()')
    mode=$(stat -c %a "$unix")
    if [ "$expected" = private ]; then
        [ "$user_full" = 1 ] || fail "$what: the user ($user) lacks full access" "list: $dacl"
        expect_eq "$what: entries for anyone but the user, SY and BA" "" "${others[*]}"
        expect_match "$what: Unix mode (no access for others)" '0$' "$mode"
    else
        [ ${#others[@]} -gt 0 ] || fail "$what: no entry for anyone else" "list: $dacl"
        expect_match "$what: Unix mode (others may enter)" '[1-7]$' "$mode"
    fi
}

while IFS='|' read -r name folder expected; do
    name=$(trim "$name"); folder=$(trim "$folder"); expected=$(trim "$expected")
    new_case "access-$name"
    rm -rf "$E2E_TMP_DIR"/tvo*.tmp_dir*
    if [ "$folder" = '(made by the test)' ]; then
        target=$CASE_DIR/open
        mkdir -p "$target"
    else
        make_private_exe 'a.txt;sub\x.txt' "b'abc', b'xyz'" || continue
        run_exe
        expect_status 0
        find_launcher_dirs_in "$E2E_TMP_DIR"
        [ ${#LAUNCHER_DIRS[@]} = 1 ] || { fail "${#LAUNCHER_DIRS[@]} launcher directories, expected 1"; continue; }
        expect_eq "sub\\x.txt" xyz "$(cat "${LAUNCHER_DIRS[0]}/sub/x.txt" 2>/dev/null)"
        target=${LAUNCHER_DIRS[0]}/$folder
    fi
    wine "$ACLPROBE" "$(winpath "$target")" </dev/null >"$CASE_DIR/acl.out" 2>"$CASE_DIR/acl.err"
    probe_rc=$?
    read_text acl "$CASE_DIR/acl.out"
    if [ "$probe_rc" != 0 ]; then
        fail "aclprobe failed with status $probe_rc" "$(cat "$CASE_DIR/acl.err")"
    else
        dacl=$(sed -n 's/^dacl //p' <<<"$acl"); user=$(sed -n 's/^user //p' <<<"$acl")
        expect_match "user SID" '^S-1-5-' "$user"
        check_access "$folder" "$dacl" "$user" "$expected" "$target"
    fi
    rm -rf "$E2E_TMP_DIR"/tvo*.tmp_dir*
done <<'T'
launcher-directory    | .                  | private
included-subdirectory | sub                | private
open-folder           | (made by the test) | open
T

# ---------------------------------------------------------------------------------------------
# When the system cannot make a temporary file (TMP lies in a folder that does not exist), the
# launcher names one itself. Every one of its 10 attempts at the launcher directory must try a
# new name, also within one second; then the launch ends with code 7. The log goes to C:\, as
# TMP is no directory.
new_case "fallback-names-differ"
tmp=$CASE_DIR/absent/tmp
clear_logs
if make_private_exe 'a.txt' "b'abc'"; then
    set_tmp "$(winpath "$tmp")"
    TARVO_LOG=yes run_exe
    reset_tmp
    expect_status 1
    read_text err "$CASE_DIR/err"
    expect_eq "first line of stderr" "${INTERNAL_ERROR/'{0}'/7}" "${err%%$'\n'*}"
    find_logs "$E2E_C_DRIVE"
    if [ -z "$LOG_FILE" ]; then
        fail "no log in C:\\"
    else
        tr -d '\r' <"$LOG_FILE" | sed -n 's/^Temp dir3: //p' >"$CASE_DIR/names"
        expect_eq "attempts" 10 "$(wc -l <"$CASE_DIR/names")"
        expect_eq "different names among them" 10 "$(sort -u "$CASE_DIR/names" | wc -l)"
        prefix="$(winpath "$tmp")\\tvo"
        outside=$(while read -r n; do [[ $n == "$prefix"* ]] || echo "$n"; done <"$CASE_DIR/names")
        expect_eq "names not of the form TMP\\tvo..." "" "$outside"
    fi
fi
clear_logs
