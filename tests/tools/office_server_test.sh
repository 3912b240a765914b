#!/usr/bin/env bash
# office-server setup's refusals, run as root: each must leave the machine as it was. Only
# refusals and --dry-run are run here; a setup that goes through belongs to scripts/test-package.
set -euo pipefail
script=${1:?path of scripts/office-server}
[[ $(id -u) -eq 0 ]] || { echo "office-server test: needs root, skipped"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf -- "$scratch"' EXIT
failures=0
conf=/etc/firebird/3.0/firebird.conf
conf_before=$(sha256sum "$conf" 2>/dev/null || true)

# expect STATUS TEXT ARGS...: setup's exit status and a piece of what it says.
expect()
{
    local status=$1 text=$2 out rc=0
    shift 2
    out=$("$script" setup "$@" 2>&1) || rc=$?
    if [[ $rc != "$status" || $out != *"$text"* ]]; then
        echo "FAILED: setup $* -> $rc: $out (wanted $status and \"$text\")"
        failures=$((failures + 1))
    fi
}

system=システムのフォルダ
not_empty=空ではありません
checked=確認だけしました

expect 1 このマシンのアドレスではありません --listen 10.254.253.252 --data "$scratch/new"
expect 1 IPv4 --listen server.example --data "$scratch/new"
[[ ! -e $scratch/new ]] || { echo "FAILED: a refused setup made its folder"; failures=$((failures + 1)); }

for folder in / /usr /var /var/lib /var/tmp /etc /home /srv /opt /boot /root /tmp /mnt \
    /usr/local /usr/local/bin /etc/firebird /opt/k5x7 /srv/../usr /srv//; do
    expect 1 "$system" --listen 0.0.0.0 --data "$folder" --dry-run
    expect 1 "$system" --listen 0.0.0.0 --data "$folder" --adopt --dry-run
done
# Not only in a dry run, and the folder keeps its owner and mode.
before=$(stat -c '%U %G %a' /var/lib)
expect 1 "$system" --listen 0.0.0.0 --data /var/lib
[[ $(stat -c '%U %G %a' /var/lib) == "$before" ]] || { echo "FAILED: /var/lib changed"; failures=$((failures + 1)); }
ln -s /usr "$scratch/link"
expect 1 "$system" --listen 0.0.0.0 --data "$scratch/link" --dry-run

mkdir -m 0755 "$scratch/full"
echo notes >"$scratch/full/notes.txt"
expect 1 "$not_empty" --listen 0.0.0.0 --data "$scratch/full"
[[ $(stat -c '%U %a' "$scratch/full") == "root 755" && $(cat "$scratch/full/notes.txt") == notes ]] ||
    { echo "FAILED: the refused folder changed"; failures=$((failures + 1)); }
expect 0 "$checked" --listen 0.0.0.0 --data "$scratch/full" --adopt --dry-run
if id firebird >/dev/null 2>&1; then
    chown firebird "$scratch/full"
    expect 0 "$checked" --listen 0.0.0.0 --data "$scratch/full" --dry-run
fi
mkdir "$scratch/empty"
expect 0 "$checked" --listen 0.0.0.0 --data "$scratch/empty" --dry-run
expect 0 "$checked" --listen 0.0.0.0 --data /srv/k5x7-office-server-test --dry-run
[[ ! -e /srv/k5x7-office-server-test && ! -e $scratch/new ]] ||
    { echo "FAILED: a dry run made a folder"; failures=$((failures + 1)); }
[[ $(sha256sum "$conf" 2>/dev/null || true) == "$conf_before" ]] ||
    { echo "FAILED: $conf changed"; failures=$((failures + 1)); }

((failures == 0)) && echo "office-server refusals: ok"
exit $((failures > 0))
