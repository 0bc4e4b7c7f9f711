#!/bin/bash
# Installs the Debian 12 packages the project builds and tests with; does nothing when all are there.
set -euo pipefail
packages=(cmake ninja-build clang libclang-rt-14-dev g++ libgtest-dev libbenchmark-dev libtomlplusplus-dev python3
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 xvfb x11-utils
          openjdk-17-jdk-headless openjdk-17-jre xauth locales python3-pip unzip)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
