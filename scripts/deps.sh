# Installs with apt-get whatever the build and the tests need and the machine lacks.
# Sourced by scripts/run and scripts/test.
DROVAK_PACKAGES="qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev zlib1g-dev libpng-dev \
libgtest-dev libbenchmark-dev xvfb xauth cmake ninja-build g++ clang libclang-rt-14-dev clang-format \
desktop-file-utils python3 git fonts-crosextra-carlito"

drovak_install_deps() {
    local missing=""
    for package in $DROVAK_PACKAGES; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $package"
        fi
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
}
