#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer in a second build
# folder and runs them: a memory fault or undefined behaviour anywhere fails the run. The
# soak runs 20 s per unit there (its memory check needs a minute without the sanitizer's
# quarantine, so the ordinary build keeps the two-minute soak).
source "$(dirname "${BASH_SOURCE[0]}")/commun.sh"
installer_paquets
preparer_locale_francaise
SANITISEURS="${KIRVANE_CONSTRUCTION_SANITISEURS:-$RACINE/build-sanitiseurs}"
if [[ ! -f "$SANITISEURS/build.ninja" ]]; then
    drapeaux="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
    cmake -S "$RACINE" -B "$SANITISEURS" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_FLAGS_DEBUG="-O1 -g" \
        -DCMAKE_CXX_FLAGS="$drapeaux" -DCMAKE_C_FLAGS="$drapeaux" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DKIRVANE_BENCH=OFF -DKIRVANE_DUREE_ENDURANCE=20 ${KIRVANE_CMAKE_LANCEUR:-}
fi
cmake --build "$SANITISEURS"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1}"
export LSAN_OPTIONS="suppressions=$RACINE/outils/sanitiseurs-fuites.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$SANITISEURS" --output-on-failure --timeout 600 -j "$(nproc)"
