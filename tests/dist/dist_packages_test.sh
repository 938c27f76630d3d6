#!/bin/bash
# make-dist twice over the same build: the same files in the MSI and in the zip, the MSI with
# the VERSION file's version and the fixed upgrade code, the zip with the program folder and
# nothing from the build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "dist_packages: $*" >&2; exit 1; }

for run in 1 2; do
    "$root/tools/make-dist.sh" --out "$work/$run" >/dev/null 2>&1 || fail "make-dist failed"
    msi="$work/$run/ZUVO_MTT-$version-x64.msi"
    zip="$work/$run/ZUVO_MTT-$version-x64-portable.zip"
    [ -f "$msi" ] && [ -f "$zip" ] || fail "run $run made no packages"
    # The File table's names and sizes, and the zip's entries with their sizes.
    msiinfo export "$msi" File | tr -d "\r" | tail -n +4 | cut -f 3,4 | sort >"$work/msi-files-$run"
    unzip -Z1 "$zip" | sort >"$work/zip-files-$run"
    msiinfo export "$msi" Property | tr -d "\r" >"$work/property-$run"
done
cmp -s "$work/msi-files-1" "$work/msi-files-2" || fail "the MSI's files differ between runs"
cmp -s "$work/zip-files-1" "$work/zip-files-2" || fail "the zip's files differ between runs"

grep -qx "ProductVersion	$version" "$work/property-1" || fail "ProductVersion is not $version"
grep -qx "UpgradeCode	{566501EC-252A-4A27-A9D6-E5AE5CEABF93}" "$work/property-1" ||
    fail "the upgrade code is not the product's"
msiinfo suminfo "$work/1/ZUVO_MTT-$version-x64.msi" | tr -d "\r" | grep -q "^Template: x64;1033$" ||
    fail "the MSI is not for x64"
# Add/Remove Programs shows the program's icon.
grep -qx "ARPPRODUCTICON	ZUVO_MTT.ico" "$work/property-1" || fail "no icon for Add/Remove Programs"
msiinfo export "$work/1/ZUVO_MTT-$version-x64.msi" Icon | tr -d "\r" | grep -q "^ZUVO_MTT.ico" ||
    fail "the MSI holds no icon"

expected="ZUVO MTT/
ZUVO MTT/README.txt
ZUVO MTT/Radar_Config.ini
ZUVO MTT/ZUVO_Common.dll
ZUVO MTT/ZUVO_DataProcess.dll
ZUVO MTT/ZUVO_DlgResource.dll
ZUVO MTT/ZUVO_MTT.exe
ZUVO MTT/zuvo-replay.exe"
[ "$(cat "$work/zip-files-1")" = "$(echo "$expected" | sort)" ] ||
    fail "the zip holds $(tr '\n' ' ' <"$work/zip-files-1")"
names=$(cut -f 1 "$work/msi-files-1" | sed 's/.*|//' | sort | tr '\n' ' ')
[ "$names" = "README.txt Radar_Config.default.ini ZUVO_Common.dll ZUVO_DataProcess.dll ZUVO_DlgResource.dll ZUVO_MTT.exe zuvo-replay.exe " ] ||
    fail "the MSI installs $names"
# The README is Windows text in both languages.
unzip -p "$work/1/ZUVO_MTT-$version-x64-portable.zip" "ZUVO MTT/README.txt" >"$work/readme"
grep -q $'ZUVO MTT '"$version"$'\r$' "$work/readme" || fail "the README does not name $version"
grep -q "便携使用" "$work/readme" || fail "the README has no Chinese part"
echo "dist_packages: two runs, the same $(wc -l <"$work/msi-files-1") MSI files and $(wc -l <"$work/zip-files-1") zip entries; version $version"
