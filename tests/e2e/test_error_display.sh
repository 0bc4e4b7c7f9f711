# Where a fatal error after a good block is shown (message box or standard error) and how its
# message text is composed. The error used: one included file named with two directory levels,
# which cannot be created, so the launch ends with message 1009 and the code 11.

INTERNAL_ERROR='An internal error occurred (error code: {0})'

# error_block KEY107 KEY154 KEY156 MESSAGE: a block that fails that way; "-" leaves a key out.
error_block() {
    local narrow="(1000, 'Setup'), (1009, '$4'), (2002, '1'), (2003, 'a\\\\b\\\\c.txt')" key
    for key in 107:$1 154:$2 156:$3; do
        [ "${key#*:}" = - ] || narrow+=", (${key%%:*}, '${key#*:}')"
    done
    make_exe --config "{'narrow': [$narrow], 'files': [b'abc']}"
}

# The launcher's own temporary directory (a temporary file name followed by "_dir" and a
# number) is removed on the way out.
expect_no_launcher_temp_dir() {
    local left=("$E2E_TMP_DIR"/*_dir*)
    [ -e "${left[0]}" ] || return 0
    fail "temporary directory left behind: ${left[*]}"
    rm -rf "${left[@]}"
}

# Key 107 = 1 or 5 shows errors in a box captioned with key 1000; any other value sends them
# to standard error, and so do the quiet marker and, with key 154 on, "-q" and "-c" (which
# also opens a console; the text still reaches the redirected standard error). "-console"
# only opens a console.
while read -r name key107 key154 key156 where args; do
    new_case "$name"
    error_block "$key107" "$key154" "$key156" "$INTERNAL_ERROR" || continue
    read -r -a argv <<<"${args:-}"
    if [ "$where" = box ]; then
        run_exe_answering_box Setup 1 "${argv[@]}"
        expect_box Setup 'An internal error occurred (error code: 11)'
        expect_stderr ''
    else
        run_exe "${argv[@]}"
        expect_stderr $'An internal error occurred (error code: 11)\n'
    fi
    expect_status 1
    expect_no_launcher_temp_dir
done <<'T'
graphical           1 - - box
box-only            5 - - box
type-absent         - - - stderr
type-zero           0 - - stderr
type-console        2 - - stderr
quiet-marker        1 - - stderr -q_qmo_internal
q-option            1 1 - stderr -q
q-option-later      1 1 - stderr app-argument -q
q-without-key-154   1 - - box    -q
q-with-key-154-zero 1 0 - box    -q
c-option            1 1 - stderr -c
c-with-key-156-only 1 - 1 box    -c
console-option      1 1 1 box    -console
T

# "{0}" is replaced by the argument in its first place only; a missing message is empty text.
while IFS='|' read -r name message shown; do
    new_case "message-$(trim "$name")"
    message=$(trim "$message"); shown=$(trim "$shown")
    if [ "$message" = '(absent)' ]; then
        make_exe --config "{'narrow': [(2002, '1'), (2003, 'a\\\\b\\\\c.txt')], 'files': [b'abc']}"
    else
        error_block - - - "$message"
    fi || continue
    run_exe
    expect_status 1
    expect_stderr "$(printf '%b' "$shown")"$'\n'
done <<'T'
two-placeholders  | code {0} and {0}    | code 11 and {0}
adjacent          | {0}{0}              | 11{0}
line-feeds        | first\n{0}\nlast    | first\n11\nlast
no-placeholder    | nothing to fill     | nothing to fill
broken-brace      | {0 and {1}          | {0 and {1}
missing-message   | (absent)            |
T
