#!/bin/bash
# Builds everything, then runs every test: host unit tests (ASan/UBSan), the fuzzers for a bounded
# time, the builder's and the runtime library's tests, the launch code against the host's real VM,
# and the end-to-end tests of the real launcher under Wine, with stub runtimes and with the pinned
# real Windows Java runtimes (fetched into a cache outside the repository on first use).
set -uo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh || exit 1
status=0
if ! ./scripts/fetch-runtimes.sh; then
    if [ "${CI:-}" = true ]; then
        echo "test: the real Windows runtimes are required in CI and could not be fetched"
        status=1
    else
        echo "test: the real Windows runtimes could not be fetched; the cases that need them say they were skipped"
    fi
fi
(cd build/host && ctest --output-on-failure -j2) || status=1
./tests/e2e/run.sh || status=1
exit $status
