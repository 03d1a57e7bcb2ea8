#!/bin/bash
# Signing as a release is signed, with a throw-away self-signed code-signing certificate: scripts/sign
# signs a copy of the installer, which osslsigncode accepts, and refuses once a byte of its payload is
# flipped. Under Wine the signed copy starts and closes as ever, the damaged one says it is damaged.
# usage: signing.sh INSTALLER WIZARD_TESTS
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1 tests=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/ombrel-signing.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
  -subj "/CN=Ombrel throw-away signing" -addext "extendedKeyUsage=codeSigning" \
  -addext "keyUsage=digitalSignature" >/dev/null 2>&1
openssl pkcs12 -export -inkey key.pem -in cert.pem -out sign.pfx -passout pass:throw-away >/dev/null 2>&1
cp "$exe" signed.exe
OMBREL_SIGN_PFX=sign.pfx OMBREL_SIGN_PASS=throw-away "$root/scripts/sign" signed.exe
osslsigncode verify -CAfile cert.pem -in signed.exe >verify.log 2>&1 || { cat verify.log; echo "signing: the signed copy does not verify" >&2; exit 1; }
grep -q "Signature verification: ok" verify.log
python3 - <<'PY'
data = bytearray(open("signed.exe", "rb").read())
start = data.rfind(b"OMBRELPZ")  # the payload archive, which the signature follows
data[(start + len(data)) // 2] ^= 0x10
open("damaged.exe", "wb").write(data)
PY
if osslsigncode verify -CAfile cert.pem -in damaged.exe >damaged.log 2>&1; then
  cat damaged.log; echo "signing: a damaged signed copy still verifies" >&2; exit 1
fi
OMBREL_SIGNED_EXE=$work/signed.exe OMBREL_SIGNED_DAMAGED_EXE=$work/damaged.exe \
  "$root/tests/support/wine-test.sh" "$tests" --gtest_filter=Program.ASignedCopy*
