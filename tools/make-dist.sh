#!/bin/bash
# The distribution of the Windows build: the MSI installer and the portable zip.
#
#   tools/make-dist.sh [--version X.Y.Z] [--out FOLDER]
#
# Writes FOLDER/ZUVO_MTT-<version>-x64.msi and FOLDER/ZUVO_MTT-<version>-x64-portable.zip
# (default FOLDER: build/dist; default version: the VERSION file). --version gives a package
# another version from the same build, which the installer tests use for an upgrade. The
# program folder must have been built (build/windows/bin).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(head -n 1 "$root/VERSION")
out="$root/build/dist"
bin="$root/build/${ZUVO_BUILD_TAG:-}windows/bin"
while [ $# -gt 0 ]; do
    case "$1" in
        --version) version=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        *) echo "make-dist: unknown argument $1" >&2; exit 2 ;;
    esac
done
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "make-dist: '$version' is no x.y.z" >&2; exit 2; }
command -v wixl >/dev/null || { echo "make-dist: wixl is missing: run tools/setup.sh" >&2; exit 1; }
command -v zip >/dev/null || { echo "make-dist: zip is missing: run tools/setup.sh" >&2; exit 1; }

# What ships, nothing from the build beside it.
files=(ZUVO_MTT.exe ZUVO_Common.dll ZUVO_DataProcess.dll ZUVO_DlgResource.dll zuvo-replay.exe
       Radar_Config.ini)
for file in "${files[@]}"; do
    [ -f "$bin/$file" ] || { echo "make-dist: $bin/$file is missing: build first" >&2; exit 1; }
done

name="ZUVO_MTT-$version-x64"
stage="$out/stage/$name"
rm -rf "$stage"
mkdir -p "$stage/ZUVO MTT"
for file in "${files[@]}"; do
    cp "$bin/$file" "$stage/ZUVO MTT/"
done
# The build's debugging information stays with the build.
x86_64-w64-mingw32-strip --strip-debug "$stage/ZUVO MTT/"*.exe "$stage/ZUVO MTT/"*.dll
# Windows text: CRLF line ends, UTF-8 with its byte-order mark so Notepad shows the Chinese.
{
    printf '\xEF\xBB\xBF'
    sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/packaging/README.txt"
} >"$stage/ZUVO MTT/README.txt"
# The same time on every file: two runs over the same build give the same packages' contents.
cp "$root/resources/ZUVO_MTT.ico" "$stage/"
find "$stage" -exec touch -d "$(git -C "$root" log -1 --format=%cI 2>/dev/null || echo 2026-01-01)" {} +

mkdir -p "$out"
out=$(cd "$out" && pwd)
# wixl finds the files relative to the folder it runs in.
(cd "$stage" && wixl --arch x64 -D Version="$version" -D SourceDir="ZUVO MTT" \
    -D IconFile=ZUVO_MTT.ico -o "$out/$name.msi.new" "$root/packaging/ZUVO_MTT.wxs")
mv "$out/$name.msi.new" "$out/$name.msi"
rm -f "$out/$name-portable.zip"
(cd "$stage" && TZ=UTC zip -q -X -r "$out/$name-portable.zip" "ZUVO MTT")
echo "make-dist: $out/$name.msi"
echo "make-dist: $out/$name-portable.zip"
