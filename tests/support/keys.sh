# Sourced by the tests that need keys or signatures: random EC keys and
# messages made with openssl, and signatures whose r or s is shorter than 32
# bytes.

new_key() { # PREFIX [CURVE]: PREFIX.pem (private), PREFIX.pub.pem; P-256 unless CURVE
    openssl genpkey -algorithm EC -pkeyopt "ec_paramgen_curve:${2:-P-256}" -out "$1.pem"
    openssl pkey -in "$1.pem" -pubout -out "$1.pub.pem"
}

random_message() { # PATH: 0 to 4095 random bytes
    head -c $((RANDOM % 4096)) /dev/urandom >"$1"
}

# DER signature -> "R S": the byte lengths of r and s without their zero byte.
scalar_lengths() {
    local -a b
    # shellcheck disable=SC2207 # od prints plain numbers
    b=($(od -An -tu1 -v "$1"))
    local rl=${b[3]}
    local sl=${b[5 + rl]}
    echo $((rl - (b[4] == 0))) $((sl - (b[6 + rl] == 0)))
}

# short_signature OUT SIGN: runs "SIGN FILE" (which signs one fixed message
# into FILE) until a signature has an r or an s shorter than 32 bytes (about
# 1 in 128 does) and keeps it as OUT.
short_signature() {
    local out=$1 sign=$2 tries=0 r s
    while true; do
        tries=$((tries + 1))
        if [ "$tries" -gt 3000 ]; then
            echo "no short r or s in 3000 signatures" >&2
            return 1
        fi
        "$sign" "$out"
        read -r r s < <(scalar_lengths "$out")
        if [ "$r" -lt 32 ] || [ "$s" -lt 32 ]; then
            echo "r of $r bytes, s of $s bytes after $tries signatures"
            return 0
        fi
    done
}

flip_last_bit() { # FROM TO
    local last
    last=$(tail -c1 "$1" | od -An -tu1)
    { head -c -1 "$1"; printf "\\x$(printf %02x $((last ^ 1)))"; } >"$2"
}
