#!/bin/bash
# Prepares this machine for building, testing and running: Debian packages, the pugixml
# sources for the Windows build, and the project's Wine prefix. Non-interactive and
# idempotent: a second run only checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache="$root/build/cache"

log() { echo "setup: $*"; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -n "$@"; fi
}

# ----- Debian packages -----
packages=(
    cmake make ninja-build g++ clang-format clang-14 libclang-rt-14-dev llvm-14
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
    binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth x11-utils socat
    googletest libgtest-dev libbenchmark-dev libpugixml-dev
    fonts-wqy-microhei fonts-liberation
    python3 python3-pymodbus python3-serial python3-serial-asyncio python3-pil
    imagemagick ca-certificates debian-archive-keyring xz-utils
    wixl msitools zip unzip
)
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    log "installing ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}" </dev/null
fi

# ----- pugixml 1.13 sources for the mingw build (Debian's source package) -----
pugi="$cache/pugixml-1.13"
if [ ! -f "$pugi/src/pugixml.cpp" ]; then
    log "fetching the pugixml source package"
    mkdir -p "$cache/apt/lists/partial"
    # The machine's own Debian mirror: the archive its apt configuration uses for the release's
    # main component (apt itself reads both the one-line and the deb822 source files). No
    # address is written into this repository, so a machine without one cannot go on.
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$suite" ] || { echo "setup: /etc/os-release names no Debian release" >&2; exit 1; }
    mirror=$(apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' |
             awk -v suite="$suite" '$2 == suite && $3 == "main" { print $1; exit }')
    if [ -z "$mirror" ]; then
        echo "setup: the pugixml sources come from the Debian archive this machine's apt uses," >&2
        echo "setup: but no apt source offers '$suite main' (see /etc/apt/sources.list and" >&2
        echo "setup: /etc/apt/sources.list.d/). Add the Debian mirror for '$suite' and run again." >&2
        exit 1
    fi
    cat >"$cache/apt/sources.list" <<SOURCES
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main
SOURCES
    aptopts=(-o "Dir::Etc::SourceList=$cache/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$cache/apt/lists" -o APT::Sandbox::User=root -q)
    apt-get "${aptopts[@]}" update >/dev/null
    (cd "$cache" && apt-get "${aptopts[@]}" source --download-only pugixml >/dev/null)
    tarball=$(ls "$cache"/pugixml_1.13*.orig.tar.gz | head -n 1)
    rm -rf "$pugi" "$cache/pugixml-unpack"
    mkdir -p "$cache/pugixml-unpack"
    tar -xzf "$tarball" -C "$cache/pugixml-unpack"
    mv "$cache/pugixml-unpack"/* "$pugi"
    rmdir "$cache/pugixml-unpack"
    test -f "$pugi/src/pugixml.cpp"
fi

# ----- the Wine prefix -----
prefix="$root/build/${ZUVO_BUILD_TAG:-}wineprefix"
prefix_version=4   # raise when the settings below change
stamp="$prefix/.zuvo-prefix"
if [ "$(cat "$stamp" 2>/dev/null || true)" != "$prefix_version" ]; then
    log "preparing the Wine prefix in $prefix"
    export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ ! -f "$prefix/system.reg" ]; then
        mkdir -p "$prefix"
        wineboot -i </dev/null >/dev/null 2>&1 || true
        wineserver -w
    fi
    reg() { wine reg add "$@" /f </dev/null >/dev/null 2>&1; }
    subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    # Wine's GDI+ has no glyph fallback and fails on unknown families: map the Windows
    # families the program asks for to installed fonts (a CJK one for Chinese text).
    for f in SimHei 黑体 SimSun 宋体 'Microsoft YaHei' 微软雅黑 NSimSun 新宋体; do
        reg "$subst" /v "$f" /t REG_SZ /d 'WenQuanYi Micro Hei'
    done
    # The families Wine draws captions, menus and default dialog text with need Chinese
    # glyphs too (Wine links no fallback font for them), so they map to the CJK font, which
    # carries Latin glyphs as well.
    for f in Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif' 'Segoe UI'; do
        reg "$subst" /v "$f" /t REG_SZ /d 'WenQuanYi Micro Hei'
    done
    for f in Arial 'Times New Roman' 'Courier New'; do
        reg "$subst" /v "$f" /t REG_SZ /d 'Liberation Sans'
    done
    # A crash must end the process, not leave an invisible dialog that hangs a test.
    reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    # No window manager on Xvfb: unmanaged windows close at once instead of after ~2 s.
    reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
    reg 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10
    wineserver -w
    echo "$prefix_version" >"$stamp"
fi
log "ready"
