#!/bin/sh
# Installs the Debian packages the build, the tests, the fuzz targets and the gallery need, when
# they are missing.
set -eu

packages="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev
fonts-liberation2 fontconfig libgtest-dev libgmock-dev libbenchmark-dev poppler-utils clang-14
libclang-rt-14-dev"

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
$sudo apt-get update -q
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
