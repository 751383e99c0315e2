# Sourced by host_programs.sh: writes the manifests the end-to-end tests serve
# from $site at $base, good ones and deliberately broken ones.
#
# manifest [--package FILE] [--key PEM] NAME [MEMBER=TEXT | MEMBER:=JSON | -MEMBER]...
# writes $site/NAME.json as one line: version 2.0.0, url $base/FILE, the
# sha256 and size of $site/FILE (setup.exe unless --package), then the other
# members in the order given (a name may hold "." and "-", as "notes.pt-BR").
# MEMBER=TEXT is a string, written as it is (no escaping), MEMBER:=JSON a value written as it is, -MEMBER leaves one out; a
# member given again replaces the earlier value in its place. With --key the
# private key PEM signs the file into $site/NAME.json.sig.
manifest() {
    local package=setup.exe key=
    while [ $# -gt 0 ]; do
        case $1 in
        --package) package=$2 ;;
        --key) key=$2 ;;
        *) break ;;
        esac
        shift 2
    done
    local name=$1 argument member
    shift
    local -a order=(version url sha256 size)
    local -A value=(
        [version]='"2.0.0"'
        [url]="\"$base/$package\""
        [sha256]="\"$(sha256sum "$site/$package" | cut -d' ' -f1)\""
        [size]=$(stat -c %s "$site/$package")
    )
    for argument in "$@"; do
        if [[ $argument =~ ^-([A-Za-z0-9_.-]+)$ ]]; then
            unset "value[${BASH_REMATCH[1]}]"
            continue
        fi
        if [[ ! $argument =~ ^([A-Za-z0-9_.-]+)(:?=)(.*)$ ]]; then
            echo "manifest $name: cannot read \"$argument\"" >&2
            return 1
        fi
        member=${BASH_REMATCH[1]}
        [[ " ${order[*]} " == *" $member "* ]] || order+=("$member")
        if [ "${BASH_REMATCH[2]}" = := ]; then
            value[$member]=${BASH_REMATCH[3]}
        else
            value[$member]="\"${BASH_REMATCH[3]}\""
        fi
    done
    local -a members=()
    for argument in "${order[@]}"; do
        if [[ -v "value[$argument]" ]]; then
            members+=("\"$argument\":${value[$argument]}")
        fi
    done
    (
        IFS=,
        printf '{%s}\n' "${members[*]}"
    ) >"$site/$name.json"
    if [ -n "$key" ]; then
        openssl dgst -sha256 -sign "$key" -out "$site/$name.json.sig" "$site/$name.json"
    fi
}
