#!/bin/sh
# Restarts the gateways one at a time, then the auth service, so that the
# auth service learns the gateways' new signing keys (see PLAT-417).
set -eu

GATEWAYS="${GATEWAYS:-gw-1 gw-2 gw-3}"
AUTH="${AUTH:-auth-1}"

for gw in $GATEWAYS; do
    echo "restarting $gw"
    ssh "$gw.example.internal" sudo systemctl restart gateway
    # Wait until it answers again before taking the next one down.
    until curl -fsS "https://$gw.example.internal:8443/health" >/dev/null; do
        sleep 2
    done
done

echo "restarting $AUTH"
ssh "$AUTH.example.internal" sudo systemctl restart auth-service
echo "done"
