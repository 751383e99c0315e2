#!/usr/bin/env bash
# Makes a throwaway CA with a certificate for localhost, a second CA that is
# never trusted with one of its own, the files to serve, and starts the TLS
# servers on 127.0.0.1. Everything lives in the state folder of the build.
set -euo pipefail
state=$1
python=$2
openssl=$3
here=$(cd "$(dirname "$0")" && pwd)

if [ -f "$state/server.pid" ]; then
    kill "$(cat "$state/server.pid")" 2>/dev/null || true
fi
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

setsid "$python" "$here/tls_server.py" --www www --lifetime 300 --ports ports \
    --trusted trusted-server.pem trusted-server.key \
    --untrusted untrusted-server.pem untrusted-server.key \
    >server.log 2>&1 </dev/null &
echo $! >server.pid

for _ in $(seq 100); do
    if [ -f ports ]; then
        echo "TLS servers on ports $(tr '\n' ' ' <ports)"
        exit 0
    fi
    sleep 0.1
done
echo "the TLS servers did not start:" >&2
cat server.log >&2
exit 1
