#!/usr/bin/env bash
# One entry point for setting up, building, running, testing and benchmarking the workbench.
#   ./dev.sh run     install what is missing, build, open the workbench
#   ./dev.sh test    install what is missing, build, run the whole suite
#                    (with CI=true or VESK_SANITIZE=1 also under ASan + UBSan)
#   ./dev.sh bench   build optimised and run the benchmarks
#   ./dev.sh fuzz [SECONDS]  build the libFuzzer targets with clang, run each SECONDS (60)
#   ./dev.sh build   install what is missing and build only
set -euo pipefail
cd "$(dirname "$0")"

JOBS=$(nproc 2>/dev/null || echo 2)
PACKAGES=(cmake g++ make qt6-base-dev qt6-svg-dev qt6-charts-dev libgl-dev libgtest-dev libbenchmark-dev fonts-dejavu-core
    libcli11-dev nlohmann-json3-dev libtbb-dev libpagmo-dev xvfb xauth help2man)
CI_PACKAGES=(clang libclang-rt-14-dev valgrind desktop-file-utils appstream lintian)
# The Python module, its tests, type checks and what the examples and the notebook import, for
# Debian's /usr/bin/python3; installed without the packages they only recommend.
PYTHON_PACKAGES=(python3-dev pybind11-dev python3-numpy python3-pytest python3-dask python3-distributed
    python3-mypy python3-matplotlib jupyter-nbconvert python3-ipykernel)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"
    elif command -v sudo >/dev/null 2>&1; then sudo "$@"
    else
        echo "dev.sh: need root (or sudo) to install: ${*: -1}" >&2
        exit 1
    fi
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

ensure_packages() {
    local wanted=("${PACKAGES[@]}") missing=() python_missing=()
    if [ "${CI:-}" = "true" ]; then wanted+=("${CI_PACKAGES[@]}"); fi
    for p in "${wanted[@]}"; do installed "$p" || missing+=("$p"); done
    for p in "${PYTHON_PACKAGES[@]}"; do installed "$p" || python_missing+=("$p"); done
    if [ ${#missing[@]} -gt 0 ] || [ ${#python_missing[@]} -gt 0 ]; then
        echo "dev.sh: installing ${missing[*]} ${python_missing[*]}"
        as_root apt-get update -qq
    fi
    if [ ${#missing[@]} -gt 0 ]; then
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
    fi
    if [ ${#python_missing[@]} -gt 0 ]; then
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${python_missing[@]}"
    fi
}

# In CI every build carries line tables only (-g1): each stack a sanitizer, valgrind or a failing
# test prints still names files and lines, at half the compile time of full debug information.
DEBUG_INFO=()
if [ "${CI:-}" = "true" ]; then
    DEBUG_INFO=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_DEBUG=-g1)
fi

# configure_and_build DIR [cmake options...]
configure_and_build() {
    local dir=$1; shift
    cmake -S . -B "$dir" "${DEBUG_INFO[@]}" "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

run_suite() {
    local dir=$1
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j "$JOBS"
}

# The sanitizer builds compile a few sources at a time (a unity build): the large header-only
# libraries are compiled once a batch instead of once a source, which saves a third of their
# build time. The main build keeps one source at a time, so that a missing include shows, except
# in CI, which has a time limit to keep.
ONCE=-DCMAKE_UNITY_BUILD=ON
MAIN_ONCE=-DCMAKE_UNITY_BUILD=OFF
if [ "${CI:-}" = "true" ]; then MAIN_ONCE=$ONCE; fi

# build_fuzzers: the libFuzzer targets, built with clang into build-fuzz.
build_fuzzers() {
    cmake -S . -B build-fuzz "${DEBUG_INFO[@]}" -DCMAKE_CXX_COMPILER="$(command -v clang++)" -DVESK_FUZZ=ON \
        -DVESK_BUILD_BENCH=OFF "$ONCE" >/dev/null
    cmake --build build-fuzz -j "$JOBS" --target vesk_fuzzers
}

# run_fuzzers SECONDS: each fuzzer in turn for SECONDS.
run_fuzzers() {
    build_fuzzers
    fuzz/run.sh build-fuzz "$1"
}

# CI's last checks: the window tests under memcheck, two at a time, then each fuzzer for ten
# seconds, half of them on each core; every log is shown, and any failing fails the run.
fuzz_and_memcheck() {
    build_fuzzers
    local status=0 fuzzers=() binary
    tests/valgrind/memcheck_window.sh build || status=1
    for binary in build-fuzz/fuzz/fuzz_*; do [ -x "$binary" ] && fuzzers+=("${binary##*/fuzz_}"); done
    local half=$(((${#fuzzers[@]} + 1) / 2))
    fuzz/run.sh build-fuzz 10 "${fuzzers[@]:0:half}" >build-fuzz/run-1.log 2>&1 &
    local first=$!
    fuzz/run.sh build-fuzz 10 "${fuzzers[@]:half}" >build-fuzz/run-2.log 2>&1 || status=1
    wait "$first" || status=1
    cat build-fuzz/run-1.log build-fuzz/run-2.log
    return $status
}

# The threaded code under ThreadSanitizer (build-tsan): batch scoring and the pattern search
# through their tests, and "vesk score" on several threads and "vesk evolve" through the tool's
# tests of the main build, which start the instrumented tool (VESK_TOOL) with a quarter of their
# longest inputs.
THREADED_TARGETS=(vesk vesk_scoring_tests vesk_search_tests)
THREADED_TESTS='BatchScorer.*:VeskScore.*:Search*.*:VeskEvolve*.*'
run_thread_sanitizer() {
    echo "== the threaded tests under ThreadSanitizer =="
    cmake -S . -B build-tsan "${DEBUG_INFO[@]}" -DVESK_TSAN=ON -DVESK_BUILD_BENCH=OFF "$ONCE" >/dev/null
    cmake --build build-tsan -j "$JOBS" --target "${THREADED_TARGETS[@]}"
    # Two lanes: the library's tests in one, the tool's in the other.
    local status=0
    (tsan_run build-tsan/tests/vesk/vesk_scoring_tests &&
        tsan_run build-tsan/tests/search/vesk_search_tests) >build-tsan/lane-1.log 2>&1 &
    local first=$!
    VESK_TOOL=$PWD/build-tsan/cli/vesk VESK_TEST_SHARE=4 tsan_run build/tests/cli/vesk_cli_tests \
        >build-tsan/lane-2.log 2>&1 || status=1
    wait "$first" || status=1
    cat build-tsan/lane-1.log build-tsan/lane-2.log
    return $status
}

tsan_run() {
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$1" \
        --gtest_filter="$THREADED_TESTS" --gtest_brief=1
}

# check_package: the desktop entry and metainfo validate; an installation into a scratch
# prefix holds every file; the three Debian packages carry the changelog's version, pass lintian
# (its warnings shown), install side by side into a scratch root (dpkg refuses a file two packages
# hold) and the tool and the module run from there.
check_package() {
    desktop-file-validate data/vesk-workbench.desktop
    appstreamcli validate --no-net build/data/org.vesk.Workbench.metainfo.xml
    local scratch
    scratch=$(mktemp -d)
    cmake --install build --prefix "$scratch/prefix" >/dev/null
    for file in bin/VeskTest bin/vesk share/applications/vesk-workbench.desktop \
        share/icons/hicolor/scalable/apps/vesk-workbench.svg \
        share/metainfo/org.vesk.Workbench.metainfo.xml share/man/man1/vesk.1.gz \
        share/man/man1/VeskTest.1.gz share/bash-completion/completions/vesk \
        share/doc/vesk/copyright share/doc/vesk-workbench/changelog.Debian.gz \
        share/doc/python3-vesk/copyright lib/python3/dist-packages/vesk/__init__.pyi \
        lib/python3/dist-packages/vesk/py.typed; do
        [ -e "$scratch/prefix/$file" ] || { echo "dev.sh: not installed: $file" >&2; exit 1; }
    done
    "$scratch/prefix/bin/vesk" --version
    (cd "$scratch" && PYTHONPATH="$scratch/prefix/lib/python3/dist-packages" /usr/bin/python3 -c \
        'import vesk; print("import vesk:", vesk.__file__, vesk.sweep("AF6553666D22533E1571"))')

    rm -f build/*.deb
    (cd build && cpack -G DEB >/dev/null)
    local debs=(build/vesk_*.deb build/vesk-workbench_*.deb build/python3-vesk_*.deb) deb version
    if [ "$(ls build/*.deb | wc -l)" -ne 3 ]; then
        echo "dev.sh: cpack made other packages than vesk, vesk-workbench, python3-vesk:" build/*.deb >&2
        exit 1
    fi
    version=$(sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p' data/debian/changelog)
    for deb in "${debs[@]}"; do
        echo "== $deb: $(stat -c %s "$deb") bytes"
        dpkg-deb --show --showformat='${Version}, installed ${Installed-Size} kB\nDepends: ${Depends}\n' "$deb"
        if [ "$(dpkg-deb --field "$deb" Version)" != "$version" ]; then
            echo "dev.sh: $deb is not version $version, the latest in data/debian/changelog" >&2
            exit 1
        fi
        lintian --fail-on error "$deb"
    done
    local root=$scratch/root
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
    touch "$root/var/lib/dpkg/status"
    # The libraries the packages depend on are the host's, not the scratch root's.
    dpkg --root="$root" --log=/dev/null --force-not-root --force-depends --install "${debs[@]}" \
        >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; exit 1; }
    "$root/usr/bin/vesk" --version
    "$root/usr/bin/vesk" sweep AF6553666D22533E1571
    (cd "$scratch" && PYTHONPATH="$root/usr/lib/python3/dist-packages" /usr/bin/python3 -c \
        'import vesk; print("import vesk:", vesk.__file__, vesk.sweep("AF6553666D22533E1571"))')
    # The installed module type-checks as a user's code sees it, without MYPYPATH; and it is
    # a Python library, not a Qt program.
    printf 'import vesk\nfit: vesk.FitResult = vesk.evolve([1, 2, 3], evaluations=100)\nhex: str = fit.hex\n' \
        >"$scratch/typed.py"
    (cd "$scratch" && PYTHONPATH="$root/usr/lib/python3/dist-packages" /usr/bin/python3 -m mypy --strict typed.py)
    if dpkg-deb --field build/python3-vesk_*.deb Depends | grep -qi qt; then
        echo "dev.sh: python3-vesk depends on Qt" >&2
        exit 1
    fi
    rm -rf "$scratch"
}

cmd=${1:-}
case "$cmd" in
run)
    ensure_packages
    configure_and_build build "$MAIN_ONCE"
    if [ ! -x build/workbench/window/VeskTest ]; then
        echo "dev.sh: the build did not produce build/workbench/window/VeskTest" >&2
        exit 1
    fi
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
        echo "dev.sh: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
        echo "        On a desktop session it opens directly; headless, try: xvfb-run -a ./dev.sh run" >&2
        exit 1
    fi
    exec build/workbench/window/VeskTest
    ;;
build)
    ensure_packages
    configure_and_build build "$MAIN_ONCE"
    ;;
test)
    ensure_packages
    configure_and_build build "$MAIN_ONCE"
    run_suite build
    if [ "${CI:-}" = "true" ] || [ "${VESK_SANITIZE:-}" = "1" ]; then
        echo "== the suite under AddressSanitizer and UndefinedBehaviorSanitizer =="
        configure_and_build build-sanitize -DVESK_SANITIZE=ON -DVESK_BUILD_BENCH=OFF \
            -DCMAKE_BUILD_TYPE=Debug "$ONCE"
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_suite build-sanitize
    fi
    if [ "${CI:-}" = "true" ]; then
        echo "== installation and the Debian package =="
        check_package
        run_thread_sanitizer
        fuzz_and_memcheck
    fi
    if [ -x scripts/ci-extra.sh ] && [ "${CI:-}" = "true" ]; then scripts/ci-extra.sh; fi
    ;;
bench)
    ensure_packages
    configure_and_build build-bench -DCMAKE_BUILD_TYPE=Release
    if [ ! -x build-bench/bench/vesk_bench ]; then echo "dev.sh: no benchmarks built yet"; exit 0; fi
    build-bench/bench/vesk_bench "${@:2}"
    ;;
fuzz)
    PACKAGES+=(clang libclang-rt-14-dev)
    ensure_packages
    run_fuzzers "${2:-60}"
    ;;
*)
    echo "usage: ./dev.sh run | test | bench | build | fuzz [SECONDS]" >&2
    exit 2
    ;;
esac
