#!/usr/bin/env bash
# Makes a throwaway CA with a certificate for localhost, a second CA that is
# never trusted with one of its own, the files to serve, and starts the TLS
# servers on 127.0.0.1. Everything lives in the state folder of the build.
set -euo pipefail
state=$1
python=$2
openssl=$3
here=$(cd "$(dirname "$0")" && pwd)

bash "$here/stop_tls_fixture.sh" "$state"
rm -rf "$state"
mkdir -p "$state/www"
cd "$state"

make_ca() {
    "$openssl" req -x509 -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.pem" -days 2 \
        -subj "/CN=$2" -addext "basicConstraints=critical,CA:TRUE" \
        -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
}

make_localhost_certificate() {
    "$openssl" req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" \
        -subj "/CN=localhost" 2>/dev/null
    printf '%s\n' "subjectAltName=DNS:localhost" "basicConstraints=CA:FALSE" \
        "keyUsage=critical,digitalSignature,keyEncipherment" "extendedKeyUsage=serverAuth" \
        >"$1.ext"
    "$openssl" x509 -req -in "$1.csr" -CA "$2.pem" -CAkey "$2.key" -CAcreateserial \
        -out "$1.pem" -days 2 -extfile "$1.ext" 2>/dev/null
}

make_ca trusted-ca "Hovrel Test Root CA"
make_ca untrusted-ca "Hovrel Untrusted CA"
make_localhost_certificate trusted-server trusted-ca
make_localhost_certificate untrusted-server untrusted-ca
"$openssl" x509 -in trusted-ca.pem -outform DER -out trusted-ca.der

printf '{"version":"2.0.0","url":"https://localhost/package.bin"}' >www/manifest.json
"$openssl" rand -out www/package.bin 300000

# They outlive any run of the suite; the cleanup fixture stops them.
for name in trusted untrusted; do
    setsid "$python" "$here/../../server/test_server.py" static --root www \
        --port-file "$PWD/$name.port" --tls "$name-server.pem" "$name-server.key" \
        --lifetime 3600 >"$name-server.log" 2>&1 </dev/null &
    echo $! >>server.pids
done

for _ in $(seq 100); do
    if [ -s trusted.port ] && [ -s untrusted.port ]; then
        cat trusted.port untrusted.port >ports
        echo "TLS servers on ports $(tr '\n' ' ' <ports)"
        exit 0
    fi
    sleep 0.1
done
echo "the TLS servers did not start:" >&2
cat ./*-server.log >&2
exit 1
