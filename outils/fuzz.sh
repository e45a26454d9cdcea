#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a folder of their own (build-fuzz/) and runs
# each for a bounded time (KIRVANE_DUREE_FUZZ seconds, 60 by default) on its seed corpus
# (fuzz/corpus/<name>/, kept in the repository; new finds go to a scratch folder). A crash
# leaves its input in build-fuzz/crashes/ and fails the command: it becomes a regression
# case in the ordinary tests.
source "$(dirname "${BASH_SOURCE[0]}")/commun.sh"
DOSSIER_FUZZ="${KIRVANE_CONSTRUCTION_FUZZ:-$RACINE/build-fuzz}"
DUREE="${KIRVANE_DUREE_FUZZ:-60}"
if [[ ! -f "$DOSSIER_FUZZ/build.ninja" ]]; then
    lanceur=()
    command -v ccache >/dev/null && lanceur=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S "$RACINE" -B "$DOSSIER_FUZZ" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${lanceur[@]}" \
        -DKIRVANE_FUZZ=ON -DKIRVANE_TESTS=OFF -DKIRVANE_BENCH=OFF >/dev/null
fi
cibles=$(cd "$RACINE/fuzz" && sed -n 's/^kirvane_fuzz(\([a-z0-9_]*\).*/fuzz_\1/p' CMakeLists.txt)
cmake --build "$DOSSIER_FUZZ" --target $cibles
mkdir -p "$DOSSIER_FUZZ/crashes"
echecs=0
for cible in $cibles; do
    nom=${cible#fuzz_}
    trouvailles="$DOSSIER_FUZZ/trouvailles/$nom"
    mkdir -p "$trouvailles"
    if "$DOSSIER_FUZZ/bin/$cible" -max_total_time="$DUREE" -timeout=5 -rss_limit_mb=2048 \
        -artifact_prefix="$DOSSIER_FUZZ/crashes/$nom-" -print_final_stats=1 \
        "$trouvailles" "$RACINE/fuzz/corpus/$nom" >"$DOSSIER_FUZZ/$nom.log" 2>&1; then
        echo "Fuzzing $nom : $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$DOSSIER_FUZZ/$nom.log" | grep -o '[0-9]*$') entrées essayées, aucun plantage"
    else
        echecs=$((echecs + 1))
        echo "Fuzzing $nom : ÉCHEC (entrée dans $DOSSIER_FUZZ/crashes/)"
        grep -A25 -m1 'ERROR\|abort\|hors limites\|relu\|accepté' "$DOSSIER_FUZZ/$nom.log" | head -40
    fi
done
[[ $echecs -eq 0 ]]
