// A Windows program that does nothing: what an app's own start costs under
// the same Wine session, against which scripts/auto-start-bench.sh sets the
// not-due automatic run.
int main() {
    return 0;
}
