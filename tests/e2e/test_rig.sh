# The rig's own tools, checked against known behaviour before the launcher tests rely on them.

# blockwriter reproduces the documented 43-byte block (key 101 = App) byte for byte.
new_case blockwriter-example-block
expected='d513e4e8 00000000 00000000 0000000000000000 01000000 65000000 03000000 417070 00000000 00000000'
actual=$("$PYTHON" -c "
import sys; sys.path.insert(0, '$E2E_DIR')
import blockwriter
print(blockwriter.build_block({'narrow': {101: 'App'}}).hex())")
expect_eq "block bytes" "${expected// /}" "$actual"

# mbhelper reports caption and text (line feeds, non-ASCII) and presses the button it is given:
# the box's own return value proves which button was pressed.
EXE=$FIXTURES_DIR/rigprobe.exe
while read -r name type button; do
    new_case "mbhelper-$name"
    run_exe_answering_box 'Rig Probe' "$button" box "$type" 'Rig Probe' $'first line\n\nZürich 東京'
    expect_box 'Rig Probe' $'first line\n\nZürich 東京'
    expect_status "$button"
    expect_stderr "$button"$'\n'
done <<'T'
ok-button  0 1
no-button  4 7
yes-button 4 6
T

# A crash is seen as status 5 and a page-fault line, not as a hang or a dialog.
new_case crash-is-visible
EXE=$FIXTURES_DIR/rigprobe.exe
run_exe crash
expect_status 5
read_text err "$CASE_DIR/err"
expect_match "stderr" 'wine: Unhandled page fault' "$err"
