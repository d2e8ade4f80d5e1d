#!/bin/sh
# Authenticode signatures of the shipped programs with the maker's code-signing certificate (osslsigncode).
#   authenticode.sh sign CERT KEY PASSFILE FILE...       signs each file in place
#   authenticode.sh append CERT KEY PASSFILE SETUP PAYLOAD OUT
#                                                        OUT = SETUP (its own signature removed) + PAYLOAD, signed
# CERT: the certificate chain (PEM); KEY: its private key (PEM); PASSFILE: a file holding the key's password,
# or "-" for a key without one. The signature goes at the end of the file, after an appended payload, and
# covers the payload too; Setup finds its payload by its start header wherever it stands, so a signed
# SetupFull.exe unpacks as an unsigned one does.
set -eu
command=${1:?usage: authenticode.sh sign|append CERT KEY PASSFILE ...}
cert=$2 key=$3 passfile=$4
shift 4

# A file signed already (by a build that signs after linking) has its signature taken off first.
unsigned_copy() {  # unsigned_copy IN OUT
  if ! osslsigncode remove-signature -in "$1" -out "$2" >/dev/null 2>&1; then
    cp "$1" "$2"
  fi
}

sign() {  # sign IN OUT
  if [ "$passfile" = "-" ]; then
    osslsigncode sign -certs "$cert" -key "$key" -n Nightcap -h sha256 -in "$1" -out "$2" >/dev/null
  else
    osslsigncode sign -certs "$cert" -key "$key" -readpass "$passfile" -n Nightcap -h sha256 -in "$1" -out "$2" >/dev/null
  fi
}

case "$command" in
  sign)
    for file in "$@"; do
      rm -f "$file.bare" "$file.signing"
      unsigned_copy "$file" "$file.bare"
      sign "$file.bare" "$file.signing"
      rm -f "$file.bare"
      mv -f "$file.signing" "$file"
    done
    ;;
  append)
    setup=$1 payload=$2 out=$3
    rm -f "$out.unsigned" "$out.bare" "$out"
    # A signed Setup.exe would carry its signature in the middle of the file: take it off first.
    unsigned_copy "$setup" "$out.bare"
    cat "$out.bare" "$payload" > "$out.unsigned"
    sign "$out.unsigned" "$out"
    rm -f "$out.bare" "$out.unsigned"
    ;;
  *) echo "usage: authenticode.sh sign|append CERT KEY PASSFILE ..." >&2; exit 2 ;;
esac
