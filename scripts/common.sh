# Shared by run.sh and test.sh: install what is missing, then configure and build into build/.

R73_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-private-dev qt6-serialport-dev libgl-dev
              fonts-dejavu-core poppler-utils qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-psql
              postgresql desktop-file-utils dpkg-dev file qt6-translations-l10n)

r73_install_missing() {
    local missing=()
    for p in "${R73_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

r73_build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DR73_WERROR="${R73_WERROR:-OFF}" >/dev/null
    cmake --build build -j "$(nproc)"
}
