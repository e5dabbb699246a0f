#!/usr/bin/env bash
# Runs the test suite of each build folder given (the ordinary build, the sanitizer build,
# the fuzz build), says which tests were left out and why, and closes with one line that
# adds them all up.
set -uo pipefail
passed=0 failed=0 status=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for dir in "$@"; do
    echo "== tests in $dir"
    if [[ -s $dir/skipped-tests.txt ]]; then
        echo "Left out in $dir, for want of a tool:"
        sed 's/^/  /' "$dir/skipped-tests.txt"
    fi
    (cd "$dir" && ctest --output-on-failure -j"${JOBS:-2}") 2>&1 | tee "$log"
    ((${PIPESTATUS[0]} == 0)) || status=1
    summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    if [[ $summary =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        failed=$((failed + BASH_REMATCH[1]))
        passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    else
        status=1
    fi
done
echo "all suites: $passed passed, $failed failed"
exit $status
