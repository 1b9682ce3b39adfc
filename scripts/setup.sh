#!/usr/bin/env bash
# Installs what building, running and testing Quillmere needs on Debian or
# Ubuntu. Safe to run again: it only asks apt for packages that are missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
    qt6-qpa-plugins
    # The renaming rules: Exif dates of photos, transliteration to ASCII.
    libexif-dev libicu-dev
    # lupdate and lrelease for the translations, and Qt's own translations.
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    libbenchmark-dev
    fonts-dejavu-core
    xvfb xdotool imagemagick
    clang
    # Checks of the manual pages and of the shell completions.
    groff-base zsh fish
    # Validators of the desktop entry and the listing; the Debian package.
    desktop-file-utils appstream dpkg-dev file lintian
    # What the package check asks which program opens folders.
    xdg-utils
    # An exFAT drive on an image file, mounted through FUSE: the tests of undo
    # where letter case does not count, of moves on a file system without
    # no-replace renames and hard links (strace counts their calls), and the
    # drive list's test of a volume whose FUSE process is stopped (as root).
    exfatprogs exfat-fuse strace
)

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

updated=
install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if [ -z "$updated" ]; then
        "${as_root[@]}" apt-get update -q
        updated=1
    fi
    "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"

# clang only recommends its runtime libraries (libFuzzer among them), and
# recommendations are left out above. Where they have a package of their
# own, it is named after clang's major version.
clang_runtime=libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev
if apt-cache show "$clang_runtime" >/dev/null 2>&1; then
    install_missing "$clang_runtime"
fi
echo "setup: everything is installed"
