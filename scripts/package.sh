#!/usr/bin/env bash
# Builds the Debian packages twinfold-cli and twinfold from a preset's build (release by default;
# CI passes its own) into build/PRESET/packages and checks both with lintian, which must report
# neither an error nor a warning. TWINFOLD_PACKAGE_MAINTAINER="NAME <ADDRESS>" in the environment
# sets the packages' maintainer.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${1:-release}
configure=(cmake --preset "$preset" -DTWINFOLD_BUILD_GUI=ON)
if [ -n "${TWINFOLD_PACKAGE_MAINTAINER:-}" ]; then
    configure+=("-DTWINFOLD_PACKAGE_MAINTAINER=$TWINFOLD_PACKAGE_MAINTAINER")
fi
"${configure[@]}"
cmake --build --preset "$preset"

out=build/$preset/packages
rm -rf "$out"
(cd "build/$preset" && cpack -G DEB -B "$PWD/packages")
packages=("$out"/*.deb)
for package in "${packages[@]}"; do
    echo "$(basename "$package"): Depends: $(dpkg-deb -f "$package" Depends)"
done
lintian --fail-on error,warning --display-info "${packages[@]}"
echo "lintian: no errors or warnings in ${#packages[@]} packages"
