#!/usr/bin/env bash
# Installs what building and running need on Debian 12, and nothing when it
# is all there already: the MinGW-w64 cross compiler, CMake, GoogleTest's
# sources, Wine, Xvfb, zip for the release archive and the two locales the
# tests run in.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64 googletest wine wine64 xvfb x11-utils xdotool imagemagick locales zip unzip)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q "${missing[@]}"
fi

# ru_RU.UTF-8 makes Wine's code page 1251, en_US.UTF-8 makes it 1252.
generate=0
for locale in ru_RU en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^${locale}\.utf-\?8$"; then
        "${as_root[@]}" sed -i -E "s/^# *(${locale}\.UTF-8 UTF-8)/\1/" /etc/locale.gen
        grep -q "^${locale}\.UTF-8 UTF-8" /etc/locale.gen || echo "${locale}.UTF-8 UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
        generate=1
    fi
done
[ $generate -eq 0 ] || "${as_root[@]}" locale-gen >/dev/null
