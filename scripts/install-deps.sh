#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those that are missing.
#   scripts/install-deps.sh build     compiler, CMake, libraries
#   scripts/install-deps.sh test      the above, plus the independent readers
#   scripts/install-deps.sh bench     the above, plus benchmark peers
set -euo pipefail
level=${1:-build}
pkgs=(g++ cmake make pkg-config libsqlite3-dev nlohmann-json3-dev libgtest-dev)
if [[ $level == test || $level == bench ]]; then
  pkgs+=(python3 python3-xlrd python3-olefile python3-dbfread python3-lxml xsltproc antiword
         libreoffice-calc-nogui libreoffice-writer-nogui libreoffice-base-drivers
         chromium fonts-wqy-microhei)
fi
if [[ $level == bench ]]; then
  pkgs+=(libbenchmark-dev libshp-dev python3-xlwt libxlsxwriter-dev)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}" >&2
  sudo=""
  [[ $(id -u) == 0 ]] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >&2
fi
