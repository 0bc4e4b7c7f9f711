# Included files against a hostile temporary folder and hostile names: extraction writes only new
# plain files and folders of its own, never through a link that turned up in its directory, and a
# failed launch deletes only what this start wrote. Names that Windows takes for a device or trims
# to another name are refused like a name that leaves the directory.
DEFAULT_RUNTIME=$E2E_DEFAULT_RUNTIME
source "$E2E_DIR/runtime_lib.sh"  # the registry clean-up: the runtime search must find nothing

INTERNAL_ERROR='An internal error occurred (error code: {0})'
REFUSED=${INTERNAL_ERROR/'{0}'/11}
NO_RUNTIME='No 64-bit Java runtime ({0}-bit) found.'

find_launcher_dirs() {
    LAUNCHER_DIRS=("$E2E_TMP_DIR"/tvo*.tmp_dir*)
    [ -e "${LAUNCHER_DIRS[0]}" ] || LAUNCHER_DIRS=()
}

# A fresh temporary folder: no launcher directories and none of the empty files they are named after.
clear_temp() { rm -rf "$E2E_TMP_DIR"/tvo*.tmp_dir* "$E2E_TMP_DIR"/tvo*.tmp; }

# An outside folder with a precious file and a "b.jar" like the one extracted; snapshot_outside
# prints every name and file content in it, so any write, deletion or addition there shows.
make_outside() {
    OUTSIDE=$CASE_DIR/outside
    mkdir -p "$OUTSIDE/sub"
    printf 'precious' >"$OUTSIDE/precious.txt"
    printf 'original' >"$OUTSIDE/b.jar"
    printf 'deeper' >"$OUTSIDE/sub/keep.txt"
    OUTSIDE_BEFORE=$(snapshot_outside)
}
snapshot_outside() { (cd "$OUTSIDE" && find . -print | sort | while read -r f; do
    printf '%s %s\n' "$f" "$( [ -f "$f" ] && cat "$f")"; done); }
expect_outside_untouched() {
    expect_eq "the outside folder" "$OUTSIDE_BEFORE" "$(snapshot_outside)"
}

# The launcher directory holds nothing but the entries named (links planted by the test, which
# Wine cannot remove as links), or is gone; the empty file its name came from is gone either way.
expect_only_left() {  # DIR [ENTRY...]
    local dir=$1 left
    shift
    [ -f "${dir%_dir*}" ] && fail "the empty file $(basename "${dir%_dir*}") was left behind"
    [ -e "$dir" ] || [ -L "$dir" ] || return 0
    left=$(cd "$dir" && find . -mindepth 1 -maxdepth 1 -printf '%f\n' | sort | tr '\n' ' ')
    expect_eq "what is left in the launcher directory" "$(printf '%s ' "$@")" "$left"
}

# make_big_exe NAMES FIRST_MB SECOND [boxes]: two included files, the first FIRST_MB MiB of "Z"
# (its extraction takes a moment under Wine), the second the text SECOND; with "boxes" errors show
# in message boxes. The block comes from the independent writer; only the large record's bytes are
# made here, for speed.
make_big_exe() {
    EXE=$CASE_DIR/app.exe
    "$PYTHON" - "$E2E_DIR" "$LAUNCHER_EXE" "$EXE" "$1" "$2" "$3" "${4:-}" "$INTERNAL_ERROR" "$NO_RUNTIME" \
        >"$CASE_DIR/blockwriter.out" 2>&1 <<'PY' && return 0
import struct, sys
sys.path.insert(0, sys.argv[1])
import blockwriter
stub, out, names, megabytes, second, boxes, internal, no_runtime = sys.argv[2:]
narrow = [(1000, 'Error'), (1009, internal), (1016, no_runtime), (2002, '2'), (2003, names)]
if boxes:
    narrow.append((107, '1'))
size = int(megabytes) << 20
big = struct.pack('<q', size) + bytes([ord('Z') ^ blockwriter.SCRAMBLE]) * size
block = blockwriter.build_block({'narrow': narrow}) + big + blockwriter.included_file(second.encode())
blockwriter.write_exe(stub, out, block)
PY
    fail "making the executable failed" "$(cat "$CASE_DIR/blockwriter.out")"
    return 1
}

# ---------------------------------------------------------------------------------------------
# Device names and names the file system trims: refused before anything of theirs is written;
# what was extracted before goes, with the launcher directory and the file its name came from.
# "<blank>" stands for a trailing blank, which the table would lose.
while IFS='|' read -r name names; do
    name=$(trim "$name"); names=$(trim "$names")
    names=${names//<blank>/ }
    new_case "$name"
    clear_temp
    make_exe --config "{'narrow': [(1009, '$INTERNAL_ERROR'), (2002, '2'), (2003, r'$names')],
                        'files': [b'first', b'second']}" || continue
    run_exe
    expect_status 1
    expect_stderr "$REFUSED"$'\n'
    find_launcher_dirs
    [ ${#LAUNCHER_DIRS[@]} = 0 ] || fail "launcher directory left behind: ${LAUNCHER_DIRS[*]}"
    tmp_files=("$E2E_TMP_DIR"/tvo*.tmp)
    [ -e "${tmp_files[0]}" ] && fail "the empty file the directory was named after is left: ${tmp_files[*]}"
    clear_temp
done <<'T'
device-nul              | NUL
device-com1             | COM1
device-aux-extension    | aux.txt
device-lower-case       | a.txt;com9.log
device-console-input    | CONIN$
device-as-folder        | nul\a.txt
device-blank-extension  | a.txt;lpt1 .txt
trailing-dot            | x.
trailing-blank          | x<blank>
trailing-dot-folder     | lib.\a.jar
dot-folder              | .\a.txt
empty-component         | lib\\a.jar
wildcard                | a*.txt
same-name-twice         | a.txt;a.txt
same-name-other-case    | lib\a.jar;LIB\A.JAR
T

# A folder shared by names that spell it differently is created once and used by all of them.
new_case shared-folder-spellings
clear_temp
if make_exe --config "{'narrow': [(2002, '3'), (2003, r'lib\a.jar;LIB\b.jar;lib/c.jar')],
                       'files': [b'a', b'b', b'c']}"; then
    TARVO_JAVA_HOME=$DEFAULT_RUNTIME run_exe
    expect_status 0
    expect_stderr ''
    find_launcher_dirs
    if [ ${#LAUNCHER_DIRS[@]} = 1 ]; then
        for f in a b c; do expect_eq "lib/$f.jar" "$f" "$(cat "${LAUNCHER_DIRS[0]}/lib/$f.jar" 2>/dev/null)"; done
    else
        fail "${#LAUNCHER_DIRS[@]} launcher directories"
    fi
fi
clear_temp

# ---------------------------------------------------------------------------------------------
# A link "lib" to an outside folder planted in the fresh launcher directory while the large
# first file is extracted: the second file, lib\b.jar, must not go through it. The start ends
# with the refusal, the outside folder keeps every file, and the first file is removed again.
new_case link-planted-during-extraction
clear_temp
clear_logs
make_outside
if make_big_exe 'a.txt;lib\b.jar' 48 jar; then
    # The watcher plants the link the moment the directory exists and records how much of the
    # first file was written by then.
    (
        deadline=$((SECONDS + E2E_TIMEOUT))
        while [ $SECONDS -lt $deadline ]; do
            for dir in "$E2E_TMP_DIR"/tvo*.tmp_dir*; do
                [ -d "$dir" ] || continue
                ln -s "$OUTSIDE" "$dir/lib"
                printf '%s\n%s\n' "$dir" "$(stat -c %s "$dir/a.txt" 2>/dev/null || echo 0)" >"$CASE_DIR/planted"
                exit 0
            done
        done
    ) &
    watcher=$!
    TARVO_LOG=yes run_exe
    wait "$watcher"
    { read -r dir; read -r written; } <"$CASE_DIR/planted" 2>/dev/null
    if [ -z "${dir:-}" ]; then
        fail "the watcher saw no launcher directory"
    else
        [ "${written:-0}" -lt $((48 << 20)) ] ||
            fail "the link came only after the first file was written: the race was not reproduced"
        expect_status 1
        find_logs
        expect_stderr "$REFUSED"$'\n\nLog: '"$(log_winpath)"$'\n'
        expect_outside_untouched
        expect_only_left "$dir" lib
    fi
    rm -rf "${dir:-/nonexistent}"
fi
clear_temp
clear_logs

# ---------------------------------------------------------------------------------------------
# A failed launch after a complete extraction (no runtime: exit code 83, its message answered in
# a box) with a link planted in the launcher directory in the meantime: beside the extracted
# files, or in place of their folder (the folder moved aside). Only this start's files go; the
# link's target keeps everything.
clear_runtime_registry
while IFS='|' read -r name plant left; do
    name=$(trim "$name"); plant=$(trim "$plant"); left=$(trim "$left")
    new_case "$name"
    clear_temp
    make_outside
    make_big_exe 'a.txt;lib\b.jar' 1 jar boxes || continue
    (cd "$CASE_DIR" && exec timeout "$E2E_TIMEOUT" wine "$EXE" </dev/null >"$CASE_DIR/out" 2>"$CASE_DIR/err") &
    launcher=$!
    # The launch waits in its message box, so the link is in place before the clean-up runs.
    dir=
    deadline=$((SECONDS + E2E_TIMEOUT))
    while [ -z "$dir" ] && [ $SECONDS -lt $deadline ] && kill -0 "$launcher" 2>/dev/null; do
        for d in "$E2E_TMP_DIR"/tvo*.tmp_dir*; do
            [ "$(cat "$d/lib/b.jar" 2>/dev/null)" = jar ] && dir=$d
        done
        sleep 0.05
    done
    if [ -z "$dir" ]; then
        fail "no complete extraction seen"
    else
        case $plant in
            beside) ln -s "$OUTSIDE" "$dir/zz" ;;
            instead) mv "$dir/lib" "$dir/lib.moved" && ln -s "$OUTSIDE" "$dir/lib" ;;
        esac
    fi
    (answer_box Error 1 box)
    BOX_RC=$?
    wait "$launcher"
    RC=$?
    expect_status 83
    [ "$BOX_RC" = 0 ] || fail "no box with the caption Error was answered (mbhelper status $BOX_RC)"
    read_text box "$CASE_DIR/box.txt"
    expect_eq "box" $'Error\nNo 64-bit Java runtime (64-bit) found.' "$box"
    expect_outside_untouched
    # shellcheck disable=SC2086  # the table's list of names
    [ -n "$dir" ] && expect_only_left "$dir" $left
    rm -rf "${dir:-/nonexistent}"
    clear_temp
done <<'T'
link-beside-after-extraction  | beside  | zz
link-instead-after-extraction | instead | lib lib.moved
T
