#!/usr/bin/env bash
# Fails when a C++ file of the repository deviates from .clang-format (CI runs it).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "Mise en forme : conforme."
