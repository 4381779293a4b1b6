#!/bin/sh
# Makes a certificate authority and a server certificate signed by it for
# 127.0.0.1 and localhost, in the folder given as the only argument. The
# authority may sign for this machine's own names only, so its key, were it
# to leak, could not vouch for any other server. Beside them a certificate
# for the same names that signs itself (selfsigned.pem/.key), which clients
# must refuse.
set -eu
dir=$1
cd "$dir"
openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -sha256 \
    -keyout rootca.key -out rootca.pem -subj "/O=Parvela Test/CN=Parvela Test Root CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -addext "nameConstraints=critical,permitted;DNS:localhost,permitted;IP:127.0.0.1/255.255.255.255,permitted;IP:::1/ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff" \
    2>/dev/null
openssl req -newkey rsa:2048 -nodes -sha256 -keyout server.key -out server.csr \
    -subj "/O=Parvela Test/CN=localhost" 2>/dev/null
printf '%s\n' "subjectAltName=IP:127.0.0.1,DNS:localhost" "basicConstraints=CA:FALSE" \
    "extendedKeyUsage=serverAuth" > server.ext
openssl x509 -req -in server.csr -CA rootca.pem -CAkey rootca.key -CAcreateserial \
    -days 3650 -sha256 -extfile server.ext -out server.pem 2>/dev/null
rm -f server.csr server.ext rootca.srl
openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -sha256 \
    -keyout selfsigned.key -out selfsigned.pem -subj "/O=Parvela Test/CN=localhost" \
    -addext "subjectAltName=IP:127.0.0.1,DNS:localhost" -addext "extendedKeyUsage=serverAuth" 2>/dev/null
