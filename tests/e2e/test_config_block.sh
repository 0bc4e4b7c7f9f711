# The configuration block behind the last section: blocks that load, and damaged blocks that
# must end with the literal internal-error text and exit status 1, never with a crash.

# Magic, two header words and the header value: the 20 bytes before the narrow count.
H='D513E4E8 00000000 00000000 0000000000000000'

# Damaged blocks. "-q_qmo_internal" at the start of the command line sends the error to
# standard error: the block fails before key 107 could do so. Text ids: 101 = 65000000,
# 122 = 7A000000, 1000 = E8030000.
while IFS='|' read -r name failure hex; do
    name=$(trim "$name"); failure=$(trim "$failure")
    new_case "$name"
    if [ "$(trim "$hex")" = none ]; then make_exe --none; else make_exe --hex "$hex"; fi || continue
    run_exe -q_qmo_internal
    expect_status 1
    expect_stderr "Internal Error: $failure"$'\n'
done <<T
no-block                 | readInt     | none
wrong-magic              | magic       | D413E4E8 00000000 00000000 0000000000000000 00000000 00000000 00000000
magic-big-endian         | magic       | E8E413D5 00000000 00000000 0000000000000000 00000000 00000000 00000000
cut-in-magic             | readInt     | D513E4
cut-in-header-word       | readInt     | D513E4E8 0000
cut-in-header-value      | readLong    | D513E4E8 00000000 00000000 00000000
cut-before-narrow-count  | readInt     | $H
cut-in-narrow-id         | readInt     | $H 01000000 6500
cut-in-narrow-length     | readInt     | $H 01000000 65000000 03
cut-in-narrow-text       | readString  | $H 01000000 65000000 03000000 4170
negative-narrow-length   | readString  | $H 01000000 65000000 FFFFFFFF 417070 00000000 00000000
lowest-narrow-length     | readString  | $H 01000000 65000000 00000080 417070 00000000 00000000
huge-narrow-length       | readString  | $H 01000000 65000000 FFFFFF7F 417070 00000000 00000000
huge-narrow-count        | readInt     | $H FFFFFF7F 65000000 01000000 41
cut-before-wide-count    | readInt     | $H 00000000
cut-in-wide-text         | readWString | $H 00000000 01000000 7A000000 06000000 4100
negative-wide-length     | readWString | $H 00000000 01000000 7A000000 FEFFFFFF 41004200 00000000
huge-wide-length         | readWString | $H 00000000 01000000 7A000000 FEFFFF7F 41004200 00000000
cut-before-group-count   | readInt     | $H 00000000 00000000
cut-in-group-prefix      | readString  | $H 00000000 00000000 01000000 02000000 64
negative-group-prefix    | readString  | $H 00000000 00000000 01000000 FFFFFFFF 6465 00000000
cut-in-group-count       | readInt     | $H 00000000 00000000 01000000 02000000 6465 0100
cut-in-group-text        | readWString | $H 00000000 00000000 01000000 02000000 6465 01000000 E8030000 08000000 4600
negative-group-text      | readWString | $H 00000000 00000000 01000000 00000000 01000000 E8030000 FEFFFFFF 00000000
T

# Blocks that load: no error anywhere, the launcher goes on and ends normally.
while IFS='|' read -r name hex; do
    new_case "loads-$(trim "$name")"
    make_exe --hex "$hex" || continue
    run_exe -q_qmo_internal
    expect_stderr ''
    expect_status 0
done <<T
example-43-bytes     | D513E4E8 00000000 00000000 0000000000000000 01000000 65000000 03000000 417070 00000000 00000000
all-sections-empty   | $H 00000000 00000000 00000000
negative-counts      | $H FFFFFFFF 00000080 FEFFFFFF
empty-texts          | $H 01000000 65000000 00000000 01000000 7A000000 00000000 01000000 00000000 00000000
header-not-checked   | D513E4E8 FFFFFFFF 12345678 FFFFFFFFFFFFFFFF 00000000 00000000 00000000
T

# Every section filled, with groups that apply and groups that do not, and data behind them.
new_case loads-all-sections
make_exe --config "{'narrow': [(101, 'App'), (101, 'Application'), (10111, 'Loading ...')],
                    'wide': [(122, 'com.example.Main'), (1000, 'Error')],
                    'groups': [('', [(1000, 'Any')]), ('de', [(1000, 'Fehler')]),
                               ('zz_ZZ', [(1000, 'None'), (122, 'x')])],
                    'tail': 'E8E413D5 00000000 00000000 00000000 00000000'}" &&
run_exe -q_qmo_internal
expect_stderr ''
expect_status 0

# Without the marker a damaged block is reported in a message box: key 107 is applied only
# after the whole block has loaded. The caption is key 1000 if it was read before the damage.
while IFS='|' read -r name args caption failure hex; do
    name=$(trim "$name"); caption=$(trim "$caption"); failure=$(trim "$failure")
    new_case "box-$name"
    make_exe --hex "$hex" || continue
    read -r -a argv <<<"$args"
    run_exe_answering_box "$caption" 1 "${argv[@]}"
    expect_box "$caption" "Internal Error: $failure"
    expect_status 1
    expect_stderr ''
done <<T
no-caption-yet     |                    |      | magic       | D413E4E8 00000000 00000000 0000000000000000 00000000 00000000 00000000
caption-read       | app-argument       | Oops | readWString | $H 01000000 E8030000 04000000 4F6F7073 01000000 7A000000 06000000 4100
later-caption-wins |                    | Oops | readInt     | $H 02000000 E8030000 01000000 58 E8030000 04000000 4F6F7073
key-107-zero-read  |                    | Oops | readString  | $H 03000000 6B000000 01000000 30 E8030000 04000000 4F6F7073 65000000 05000000 4170
marker-not-first   | x -q_qmo_internal  | Oops | readInt     | $H 01000000 E8030000 04000000 4F6F7073
T

# The quiet marker counts when the command-line tail begins with it, whatever follows.
while IFS='|' read -r name args; do
    new_case "quiet-$(trim "$name")"
    make_exe --hex "$H 01000000 65000000 03000000 4170" || continue
    read -r -a argv <<<"$args"
    run_exe "${argv[@]}"
    expect_status 1
    expect_stderr $'Internal Error: readString\n'
done <<'T'
marker-then-more   | -q_qmo_internal more args
marker-as-prefix   | -q_qmo_internalX
T
