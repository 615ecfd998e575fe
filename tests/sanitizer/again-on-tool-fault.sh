#!/usr/bin/env bash
# Runs a test command of the sanitizer build; runs it once more when, and only
# when, the leak checker itself broke down at exit ("LeakSanitizer has
# encountered a fatal error"): its tracer thread can fault while it stops a
# process whose graphics library threads are still winding down. That is no
# finding of the sanitizers; any report of theirs still fails the test.
set -u
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for attempt in 1 2; do
    "$@" 2>&1 | tee "$log"
    status=${PIPESTATUS[0]}
    if [ "$status" = 0 ] || [ "$attempt" = 2 ] ||
        ! grep -q 'LeakSanitizer has encountered a fatal error' "$log" ||
        grep -q -e 'ERROR: [A-Za-z]*Sanitizer' -e 'runtime error:' "$log"; then
        exit "$status"
    fi
    echo "again-on-tool-fault: the leak checker broke down, not the test; running it once more"
done
