# Installs with apt-get whatever the build and the tests need and the machine lacks.
# Sourced by scripts/run, scripts/test and scripts/fuzz.
DROVAK_PACKAGES="qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev zlib1g-dev libpng-dev \
libdivsufsort-dev libtomlplusplus-dev libpugixml-dev libgtest-dev libbenchmark-dev xvfb xauth cmake ninja-build g++ clang \
libclang-rt-14-dev clang-format desktop-file-utils appstream lintian dpkg-dev file bash-completion \
python3 git fonts-crosextra-carlito ccache \
acl attr dosfstools fusefat fuse3 tiled"
# What scripts/fuzz needs on its own: Clang with its libFuzzer and sanitizer runtimes, and the
# core's build.
DROVAK_FUZZ_PACKAGES="clang libclang-rt-14-dev cmake ninja-build zlib1g-dev libpng-dev \
libdivsufsort-dev libtomlplusplus-dev libpugixml-dev ccache"
# What scripts/mutate reads the code's syntax tree with (libclang's Python bindings), beside the
# packages of the build.
DROVAK_MUTATE_PACKAGES="python3-clang-14"
# What the benchmarks compare with when they run (bench_patch measures its patches against
# xdelta3's and skips that comparison without it); nothing is built with it.
DROVAK_BENCH_PACKAGES="xdelta3"

# drovak_install_deps [PACKAGES]: the packages given (DROVAK_PACKAGES when none are).
drovak_install_deps() {
    local missing=""
    for package in ${1:-$DROVAK_PACKAGES}; do
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
