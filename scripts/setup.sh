#!/usr/bin/env bash
# Installs what building, running and testing Quillmere needs on Debian or
# Ubuntu. Safe to run again: it only asks apt for packages that are missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
    qt6-qpa-plugins
    # lupdate and lrelease for the translations, and Qt's own translations.
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    libbenchmark-dev
    fonts-dejavu-core
    xvfb xdotool imagemagick
    clang
    # Checks of the manual pages and of the shell completions.
    groff-base zsh fish
    # Validators of the desktop entry and the listing; the Debian package.
    desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: everything is installed"
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
