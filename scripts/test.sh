#!/bin/bash
# Builds everything, then runs every test: host unit tests (ASan/UBSan), the block-parser fuzzer
# for a bounded time, the builder's tests, and the end-to-end tests of the real launcher under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh || exit 1
status=0
(cd build/host && ctest --output-on-failure -j2) || status=1
./tests/e2e/run.sh || status=1
exit $status
