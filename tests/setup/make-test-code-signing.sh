#!/bin/sh
# A throwaway certificate authority and a code-signing certificate it issued, for the Authenticode tests:
#   make-test-code-signing.sh DIR   ->  DIR/ca.pem, DIR/signer.pem, DIR/signer.key (and the CA's own key)
# Made afresh for every build tree; nothing here is ever trusted outside the tests.
set -eu
dir=$1
rm -rf "$dir/keys"
mkdir -p "$dir/keys"
cd "$dir/keys"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 3650 -subj "/CN=Nightcap Throwaway Test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Nightcap Test Publisher" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' > signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out signer.pem -days 3650 \
  -extfile signer.ext 2>/dev/null
chmod 600 ca.key signer.key
mv ca.pem signer.pem signer.key ..
