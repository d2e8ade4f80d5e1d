#!/bin/sh
# Checks the programs the Authenticode test signed: each verifies against the throwaway CA; a copy of
# SetupFull.exe changed by one byte inside its payload, and one whose signature was taken off, do not.
#   check-authenticode.sh DIR FILE...   (DIR holds ca.pem; the FILEs are the signed programs)
set -eu
dir=$1
shift
failed=0
for file in "$@"; do
  if osslsigncode verify -CAfile "$dir/ca.pem" -in "$file" >/dev/null 2>&1; then
    echo "signed and verified: $(basename "$file")"
  else
    echo "FAILED: $file does not verify against the test CA" >&2
    failed=1
  fi
done
full=$dir/SetupFull.exe
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$full" "$scratch/changed.exe"
# One byte in the middle of the file: inside the payload, which the signature covers too.
size=$(stat -c %s "$full")
printf 'X' | dd of="$scratch/changed.exe" bs=1 seek=$((size / 2)) conv=notrunc 2>/dev/null
if osslsigncode verify -CAfile "$dir/ca.pem" -in "$scratch/changed.exe" >/dev/null 2>&1; then
  echo "FAILED: a SetupFull.exe changed inside its payload still verifies" >&2
  failed=1
fi
osslsigncode remove-signature -in "$full" -out "$scratch/bare.exe" >/dev/null
if osslsigncode verify -CAfile "$dir/ca.pem" -in "$scratch/bare.exe" >/dev/null 2>&1; then
  echo "FAILED: a SetupFull.exe without its signature verifies" >&2
  failed=1
fi
exit $failed
