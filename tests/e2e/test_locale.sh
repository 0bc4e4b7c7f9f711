# Locale detection: the Windows language settings Wine derives from the Unix locale, seen in the
# log, and locale groups of the block that must be consumed whether they apply or not.

# Wine reports a user locale only when the glibc locale exists; generated once per work folder
# (a second each), without touching the system's locale files.
LOCALE_DIR=$E2E_WORK/locales
LOCALES_MISSING=
for locale in de_CH de_AT es_US; do
    [ -d "$LOCALE_DIR/$locale.UTF-8" ] && continue
    mkdir -p "$LOCALE_DIR"
    localedef -i "$locale" -f UTF-8 "$LOCALE_DIR/$locale.UTF-8" >"$LOCALE_DIR/$locale.log" 2>&1 ||
        [ -d "$LOCALE_DIR/$locale.UTF-8" ] || LOCALES_MISSING+=" $locale"
done

# An included file behind the groups: its bytes arrive intact only when every group, applying
# or not, was read to its end.
LOCALE_GROUPS="[('de', [(1000, 'Fehler')]), ('de_CH', [(1000, 'Fehler CH')]),
         ('de_AT', [(1000, 'Fehler AT'), (122, 'at.Main')]), ('', [(1000, 'Any')])]"

# The last argument that begins with the formatasdefault prefix decides; any value but "true"
# switches to the user-interface language (the same as the user locale under Wine). es_US
# (0x540A) has no row of its own, so its primary language answers.
# The groups that apply are the ones whose prefix begins the detected name.
while IFS='|' read -r name locale args setting detected; do
    name=$(trim "$name"); locale=$(trim "$locale"); setting=$(trim "$setting")
    detected=$(trim "$detected")
    new_case "$name"
    if [ -n "$LOCALES_MISSING" ]; then
        fail "localedef could not generate:$LOCALES_MISSING (see $LOCALE_DIR)"
        continue
    fi
    clear_logs
    rm -rf "$E2E_TMP_DIR"/tvo*.tmp_dir*
    make_exe --config "{'narrow': [(2002, '1'), (2003, 'after-groups.bin')],
                        'groups': $LOCALE_GROUPS, 'files': [b'\\x00\\xa7\\xff group end']}" || continue
    read -r -a argv <<<"$args"
    LANG=$locale LOCPATH=$LOCALE_DIR TARVO_LOG=yes run_exe -q_qmo_internal "${argv[@]}"
    expect_status 0
    expect_stderr ''
    find_logs
    [ -n "$LOG_FILE" ] || { fail "no log"; continue; }
    expect_log_line "sun.locale.formatasdefault is $setting"
    expect_log_line "language/country is $detected"
    for prefix in de de_CH de_AT ''; do
        case $detected in
            "$prefix"*) expect_log_line "locale group '$prefix' applies" ;;
            *) expect_log_line "locale group '$prefix' skipped" ;;
        esac
    done
    printf '\x00\xa7\xff group end' >"$CASE_DIR/expected.bin"
    extracted=("$E2E_TMP_DIR"/tvo*.tmp_dir*/after-groups.bin)
    cmp -s "$CASE_DIR/expected.bin" "${extracted[0]}" ||
        fail "the file behind the groups differs or is missing: ${extracted[0]}"
    rm -rf "$E2E_TMP_DIR"/tvo*.tmp_dir*
done <<'T'
english            | C.UTF-8     |                                                                    | true  | en_US
swiss-german       | de_CH.UTF-8 |                                                                    | true  | de_CH
austrian           | de_AT.UTF-8 |                                                                    | true  | de_AT
us-spanish-primary | es_US.UTF-8 |                                                                    | true  | es
ui-language        | de_CH.UTF-8 | -Dsun.locale.formatasdefault=false                                 | false | de_CH
empty-value        | de_CH.UTF-8 | -Dsun.locale.formatasdefault=                                      | false | de_CH
last-is-true       | de_CH.UTF-8 | -Dsun.locale.formatasdefault=no -Dsun.locale.formatasdefault=true  | true  | de_CH
last-is-false      | de_CH.UTF-8 | -Dsun.locale.formatasdefault=true x -Dsun.locale.formatasdefault=1 | false | de_CH
not-the-prefix     | de_CH.UTF-8 | -Dsun.locale.formatasdefault -dsun.locale.formatasdefault=no       | true  | de_CH
T
