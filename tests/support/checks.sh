# Sourced by the test scripts: fail counts a failed check and says what it
# was; finish ends the script, with a failure if any check failed.
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures failures"
        exit 1
    fi
    echo "all passed"
}
