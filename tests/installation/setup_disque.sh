#!/usr/bin/env bash
# The disc's installer run by a user who is not root: the program unpacked into
# ~/.local, its menu entry naming it by its full path, the file type and its
# default application registered, and the message in the language asked for.
#   setup_disque.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build="$1" source="$2" version="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/arbre" "$tmp/disque/Setup" "$tmp/maison"
cmake --install "$build" --prefix "$tmp/arbre" >/dev/null
tar -czf "$tmp/disque/Setup/vistarama.tar.gz" -C "$tmp/arbre" bin lib share
install -m 755 "$source/scripts/disque/Setup.exe" "$tmp/disque/Setup/Setup.exe"
chmod -R a+rX "$tmp"

utilisateur=()
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$tmp/maison"
  utilisateur=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
comme_l_utilisateur() {
  (cd "$tmp/maison" && "${utilisateur[@]}" env -i PATH=/usr/bin:/bin HOME="$tmp/maison" "$@")
}

fautes=0
faute() { echo "FAUTE : $*"; fautes=$((fautes + 1)); }
message="$(comme_l_utilisateur sh "$tmp/disque/Setup/Setup.exe" D)"
[ "$(echo "$message" | head -n 1)" = "Vistarama ist installiert: Sie finden es im Menü Grafik." ] ||
  faute "le message : $message"
local="$tmp/maison/.local"
[ "$(comme_l_utilisateur "$local/bin/vistarama" --version)" = "vistarama $version" ] || faute "vistarama --version"
[ -n "$(find "$local/lib" -name vistarama-export-video.so 2>/dev/null)" ] ||
  faute "l'exportation en vidéo n'est pas installée"
grep -qxF "Exec=$local/bin/vistarama --diaporama %f" "$local/share/applications/vistarama.desktop" ||
  faute "l'entrée du menu ne nomme pas le programme installé"
touch "$tmp/maison/essai.sli"
[ "$(comme_l_utilisateur xdg-mime query filetype essai.sli)" = application/x-vistarama-diaporama ] ||
  faute "le type de fichier n'est pas connu"
[ "$(comme_l_utilisateur xdg-mime query default application/x-vistarama-diaporama)" = vistarama.desktop ] ||
  faute "Vistarama n'ouvre pas les diaporamas"
[ "$fautes" -eq 0 ] && echo "installation du disque pour l'utilisateur complète"
exit "$fautes"
