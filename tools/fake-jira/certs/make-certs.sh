#!/usr/bin/env bash
# Makes the certificates the fake Jira serves and the tests present, into this folder. Run it once; the
# results are kept in the repository, so the tests never depend on openssl or on when they run.
#
#   make-certs.sh
#
# Every key is RSA 2048. Validity is set with explicit dates (openssl ca -startdate/-enddate), so that
# the expired and the not-yet-valid ones really are, and the others stay good until 2045 or later.
#
#   test-ca                 CA "Tessarin Test CA"
#   ca-signed               server for 127.0.0.1 and localhost, by test-ca, until 2045
#   expired                 the same, valid 2020-01-01 to 2021-01-01
#   not-yet-valid           the same, valid 2090-01-01 to 2091-01-01
#   wrong-host              by test-ca, for jira.example.com only
#   other-ca                CA "Other Test CA"
#   other-ca-signed         server for 127.0.0.1 and localhost, by other-ca
#   client-ca               CA "Tessarin Client CA"
#   client                  client certificate "Mara Hartmann" by client-ca, until 2045; its key
#                           encrypted with the passphrase "correct horse"; client.p12 holds both
#   client-expired          client certificate by client-ca, valid 2020 to 2021, key not encrypted
#
# fake-jira.* and replaced.* (self-signed) are not made here.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
passphrase='correct horse'
work=$(mktemp -d "${TMPDIR:-/tmp}/fake-jira-certs.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Our own configuration throughout, so that the system's openssl.cnf adds nothing.
cat >"$work/openssl.cnf" <<'EOF'
[ req ]
distinguished_name = dn
prompt = no
[ dn ]
CN = unused

[ ca ]
default_ca = signer
[ signer ]
dir = $ENV::CA_DIR
database = $dir/index.txt
serial = $dir/serial
new_certs_dir = $dir/issued
default_md = sha256
policy = anything
unique_subject = no
# Keep the extensions the request asks for exactly as given by -extensions below.
copy_extensions = none
email_in_dn = no
[ anything ]
commonName = supplied
organizationName = optional

[ v3_ca ]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid:always

[ v3_server ]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid, issuer
subjectAltName = $ENV::SAN

[ v3_client ]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = clientAuth
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid, issuer
EOF
export OPENSSL_CONF="$work/openssl.cnf" SAN=unused CA_DIR="$work/unused"

# A CA database for each issuer, in the scratch folder.
prepare_ca_dir() {
  mkdir -p "$work/$1/issued"
  : >"$work/$1/index.txt"
  # A random first serial: certificates made by another run never share one with these.
  openssl rand -hex 16 >"$work/$1/serial"
}

new_key() {
  openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$work/$1.key" 2>/dev/null
}

# make_ca NAME "COMMON NAME": self-signed, 2025-01-01 to 2125-01-01 (longer than any certificate it signs).
make_ca() {
  local name=$1 cn=$2
  new_key "$name"
  prepare_ca_dir "$name"
  openssl req -new -key "$work/$name.key" -subj "/CN=$cn" -out "$work/$name.csr"
  CA_DIR="$work/$name" openssl ca -batch -notext -selfsign -keyfile "$work/$name.key" \
    -startdate 20250101000000Z -enddate 21250101000000Z -extensions v3_ca \
    -in "$work/$name.csr" -out "$work/$name.crt" 2>/dev/null
}

# make_leaf NAME ISSUER "SUBJECT" EXTENSIONS START END [SAN]
make_leaf() {
  local name=$1 issuer=$2 subject=$3 extensions=$4 start=$5 end=$6 san=${7:-unused}
  new_key "$name"
  openssl req -new -key "$work/$name.key" -subj "$subject" -out "$work/$name.csr"
  CA_DIR="$work/$issuer" SAN=$san openssl ca -batch -notext -cert "$work/$issuer.crt" \
    -keyfile "$work/$issuer.key" -startdate "$start" -enddate "$end" -extensions "$extensions" \
    -in "$work/$name.csr" -out "$work/$name.crt" 2>/dev/null
}

local_san='IP:127.0.0.1, DNS:localhost'
good_from=20250101000000Z
good_until=20451231235959Z

make_ca test-ca 'Tessarin Test CA'
make_ca other-ca 'Other Test CA'
make_ca client-ca 'Tessarin Client CA'

make_leaf ca-signed test-ca '/CN=127.0.0.1/O=Tessarin fake Jira' v3_server $good_from $good_until "$local_san"
make_leaf expired test-ca '/CN=127.0.0.1/O=Tessarin fake Jira, expired' v3_server \
  20200101000000Z 20210101000000Z "$local_san"
make_leaf not-yet-valid test-ca '/CN=127.0.0.1/O=Tessarin fake Jira, not yet valid' v3_server \
  20900101000000Z 20910101000000Z "$local_san"
make_leaf wrong-host test-ca '/CN=jira.example.com/O=Tessarin fake Jira' v3_server $good_from $good_until \
  'DNS:jira.example.com'
make_leaf other-ca-signed other-ca '/CN=127.0.0.1/O=Tessarin fake Jira, other CA' v3_server \
  $good_from $good_until "$local_san"
make_leaf client client-ca '/CN=Mara Hartmann' v3_client $good_from $good_until
make_leaf client-expired client-ca '/CN=Mara Hartmann' v3_client 20200101000000Z 20210101000000Z

# The client's key as a user keeps it: encrypted (PKCS#8, AES-256), and with the certificate in a
# PKCS#12 file under the same passphrase, with OpenSSL 3's defaults (AES-256-CBC, HMAC-SHA256).
openssl pkey -in "$work/client.key" -aes-256-cbc -passout "pass:$passphrase" -out "$work/client.enc.key"
mv "$work/client.enc.key" "$work/client.key"
openssl pkcs12 -export -in "$work/client.crt" -inkey "$work/client.key" -passin "pass:$passphrase" \
  -name 'Mara Hartmann' -passout "pass:$passphrase" -out "$work/client.p12"

for name in test-ca ca-signed expired not-yet-valid wrong-host other-ca other-ca-signed client-ca client \
  client-expired; do
  cp "$work/$name.crt" "$work/$name.key" "$here/"
done
cp "$work/client.p12" "$here/"

# What came out, checked: each certificate against its issuer, ignoring the dates the odd ones have.
openssl verify -CAfile "$here/test-ca.crt" "$here/ca-signed.crt" "$here/wrong-host.crt" >/dev/null
openssl verify -no_check_time -CAfile "$here/test-ca.crt" "$here/expired.crt" "$here/not-yet-valid.crt" >/dev/null
openssl verify -CAfile "$here/other-ca.crt" "$here/other-ca-signed.crt" >/dev/null
openssl verify -purpose sslclient -CAfile "$here/client-ca.crt" "$here/client.crt" >/dev/null
openssl verify -no_check_time -CAfile "$here/client-ca.crt" "$here/client-expired.crt" >/dev/null
echo "Certificates written to $here"
