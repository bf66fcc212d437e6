#!/usr/bin/env bash
# Signs a Windows exe in place (Authenticode, SHA-256) with the certificate in the PKCS#12 file
# TAVRO_SIGN_PFX, whose password is in the file TAVRO_SIGN_PASSWORD_FILE; with
# TAVRO_SIGN_TIMESTAMP_URL, time-stamped there so that the signature outlives the certificate.
# tools/package.sh runs it, and makensis runs it on the installer and on the uninstaller.
set -euo pipefail
file="$1"
timestamp=()
[ -n "${TAVRO_SIGN_TIMESTAMP_URL:-}" ] && timestamp=(-ts "$TAVRO_SIGN_TIMESTAMP_URL")
osslsigncode sign -pkcs12 "$TAVRO_SIGN_PFX" -readpass "$TAVRO_SIGN_PASSWORD_FILE" -h sha256 \
  -n "TavroClock" "${timestamp[@]}" \
  -in "$file" -out "$file.signed" >/dev/null
mv -f "$file.signed" "$file"
