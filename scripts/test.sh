#!/usr/bin/env bash
# Sets everything up, builds, runs clang-tidy, and runs every test three times: with the process
# started under a comma-decimal locale, under a point-decimal one, and under one whose date
# separator is not "/".
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j"$(nproc)"
# clang-tidy with the checks of .clang-tidy over the project's sources (not the tests): a
# finding fails the run.
echo "clang-tidy over the sources"
git ls-files -z '*.cpp' ':!tests/' | xargs -0 -P "$(nproc)" -n 1 clang-tidy-14 -p build --quiet 2>/dev/null
for lang in es_AR.UTF-8 en_US.UTF-8 es_CL.UTF-8; do
  echo "Tests under LANG=$lang"
  env -u LC_ALL -u LC_NUMERIC -u LC_TIME -u LC_MONETARY -u LC_CTYPE LANG="$lang" \
    ctest --test-dir build -j"$(nproc)" --output-on-failure
done

# Once more under AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer, in build-asan:
# a fault of memory or undefined behaviour fails the run.
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
echo "Tests under AddressSanitizer and UndefinedBehaviorSanitizer, LANG=es_AR.UTF-8"
env -u LC_ALL -u LC_NUMERIC -u LC_TIME -u LC_MONETARY -u LC_CTYPE LANG=es_AR.UTF-8 \
  ctest --preset asan -j"$(nproc)"
