#!/usr/bin/env bash
# Installs the Debian packages that building and testing Twinfold needs, only those missing.
set -euo pipefail

packages=(g++ cmake ninja-build libgtest-dev libgmock-dev libcli11-dev nlohmann-json3-dev clang-14
    libclang-rt-14-dev clang-tidy-14 clang-format-14 qt6-base-dev desktop-file-utils appstream dpkg-dev
    lintian xvfb xauth openbox x11-utils)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
