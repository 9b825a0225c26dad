#!/usr/bin/env bash
# Builds the Debian package, installs it, runs the installed program and removes
# it: nothing of the package may be left. Needs root and dpkg; changes the system.
#   paquet.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
if dpkg-query -W -f='${Status}' vistarama 2>/dev/null | grep -q "install ok installed"; then
  echo "FAUTE : le paquet vistarama est déjà installé ; retirez-le d'abord (dpkg -r vistarama)"
  exit 1
fi
deb="$(BUILD_DIR="$build" "$root/scripts/package" | tail -n 1)"
version="$(dpkg-deb -f "$deb" Version)"
fautes=0
faute() { echo "FAUTE : $*"; fautes=$((fautes + 1)); }

dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || faute "les dépendances ne viennent pas des binaires"
fichiers="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}')"

# What the package depends on is there already: the build needed it.
dpkg -i "$deb" >/dev/null
[ "$(cd / && vistarama --version)" = "vistarama $version" ] || faute "vistarama --version depuis le paquet"
[ "$(command -v vistarama)" = /usr/bin/vistarama ] || faute "vistarama n'est pas dans /usr/bin"
[ -f /usr/share/vistarama/DOC.HLP ] || faute "l'aide n'est pas installée"
module="$(grep '/vistarama-export-video\.so$' <<<"$fichiers" || true)"
[ -n "$module" ] || faute "le module d'exportation vidéo n'est pas dans le paquet"
LD_BIND_NOW=1 LD_PRELOAD="$module" vistarama --version >/dev/null ||
  faute "le module d'exportation vidéo ne se charge pas dans le programme installé"

dpkg -r vistarama >/dev/null
etat="$(dpkg-query -W -f='${db:Status-Status}' vistarama 2>/dev/null || true)"
[ -z "$etat" ] || [ "$etat" = not-installed ] || faute "dpkg garde le paquet dans l'état « $etat »"
while IFS= read -r f; do
  [ -e "$f" ] && faute "$f reste après dpkg -r"
done <<<"$fichiers"
[ -e /usr/share/vistarama ] && faute "/usr/share/vistarama reste après dpkg -r"
[ "$fautes" -eq 0 ] && echo "paquet $deb : installé, lancé et retiré proprement"
exit "$fautes"
