#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop needs of it:
# every file in its place, a valid menu entry, the file type known to xdg-mime.
#   installation.sh BUILD_DIR VERSION MODULES_DIR
set -euo pipefail
build="$1"
version="$2"
module="$3/vistarama-export-video.so"  # from the prefix
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefixe"
cmake --install "$build" --prefix "$prefix" >/dev/null

fautes=0
faute() { echo "FAUTE : $*"; fautes=$((fautes + 1)); }

partage="$prefix/share/vistarama"
attendus=(
  bin/vistarama bin/vistarama-convert bin/vistarama-video "$module"
  share/vistarama/DOC.HLP share/vistarama/alumette.wav share/vistarama/feu.wav share/vistarama/stop.wav
  share/vistarama/DEMO_KV.SLI share/vistarama/PLAGE.JPG share/vistarama/MONTAGNE.PNG
  share/vistarama/FORET.BMP share/vistarama/VILLE.GIF share/vistarama/VAGUE.WAV
  share/vistarama/curseurs/deplace_diapositive.png share/vistarama/translations/qtbase_fr.qm
  share/applications/vistarama.desktop share/mime/packages/vistarama.xml
  share/man/man1/vistarama.1 share/man/man1/vistarama-convert.1 share/man/man1/vistarama-video.1
)
for taille in 16 22 24 32 48 64 128 256; do
  attendus+=("share/icons/hicolor/${taille}x${taille}/apps/vistarama.png")
done
for f in "${attendus[@]}"; do
  [ -s "$prefix/$f" ] || faute "$f manque"
done
for p in vistarama vistarama-convert vistarama-video; do
  [ -x "$prefix/bin/$p" ] || faute "bin/$p n'est pas exécutable"
done
for taille in 16 48 256; do
  icone="$prefix/share/icons/hicolor/${taille}x${taille}/apps/vistarama.png"
  file -b "$icone" | grep -q "^PNG image data, $taille x $taille," || faute "icône $taille px"
done

entree="$prefix/share/applications/vistarama.desktop"
desktop-file-validate "$entree" | grep -v '^.*: hint:' && faute "desktop-file-validate"
for ligne in 'Exec=vistarama %f' 'Exec=vistarama --diaporama %f' 'Name=Présenter' \
             'Categories=Graphics;Photography;Presentation;' 'MimeType=application/x-vistarama-diaporama;' \
             'GenericName=Diaporamas de photos'; do
  grep -qxF "$ligne" "$entree" || faute "l'entrée n'a pas « $ligne »"
done
LANG=fr_FR.UTF-8 MANWIDTH=80 man -l "$prefix/share/man/man1/vistarama.1" 2>/dev/null | grep -q -- '--diaporama' ||
  faute "la page de manuel de vistarama"

# The file type, as a desktop whose user data folder is the prefix's share.
export XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share"
update-mime-database "$prefix/share/mime"
touch "$tmp/x.sli" "$tmp/Y.SLI"
for f in x.sli Y.SLI; do
  type="$(cd "$tmp" && xdg-mime query filetype "$f")"
  [ "$type" = application/x-vistarama-diaporama ] || faute "xdg-mime donne « $type » pour $f"
done
grep -q 'Diaporama Vistarama' "$prefix/share/mime/application/x-vistarama-diaporama.xml" || faute "le nom du type"

# The installed program answers from wherever it is started.
[ "$(cd "$tmp" && "$prefix/bin/vistarama" --version)" = "vistarama $version" ] || faute "vistarama --version"
[ "$(cd "$tmp" && "$prefix/bin/vistarama-convert" --version)" = "vistarama-convert $version" ] ||
  faute "vistarama-convert --version"

# The program starts without FFmpeg's libraries, and gives its video export module
# every symbol the module takes from it: bound at once, one missing would stop the start.
ldd "$prefix/bin/vistarama" | grep -q 'libav' && faute "vistarama charge les bibliothèques de FFmpeg au démarrage"
# A sanitized build's runtime must come first among the preloaded libraries.
runtimes="$(ldd "$prefix/$module" | awk '/lib(a|ub)san\.so/ {printf "%s ", $3}')"
LD_BIND_NOW=1 LD_PRELOAD="$runtimes$prefix/$module" "$prefix/bin/vistarama" --version \
  >/dev/null || faute "le programme ne fournit pas au module d'exportation vidéo ce qu'il lui faut"

# Started as a new user would, from an empty folder: the user's files go only
# into the user's folders, and the sample is copied and opened there.
maison="$tmp/maison"
vide="$tmp/vide"
mkdir -p "$maison" "$vide"
exemple="$maison/donnees/vistarama/exemple"
lance() {  # the installed program, for a few seconds, then stopped
  # exec: the process stopped below is the program itself, not a shell around it.
  (cd "$vide" && HOME="$maison" XDG_CONFIG_HOME="$maison/config" XDG_DATA_HOME="$maison/donnees" \
     QT_QPA_PLATFORM=offscreen exec "$prefix/bin/vistarama" "$@" >/dev/null 2>&1) &
  local programme=$!
  sleep 4
  kill "$programme" 2>/dev/null
  wait "$programme" 2>/dev/null || true
}
lance
for f in DEMO_KV.SLI PLAGE.JPG MONTAGNE.PNG FORET.BMP VILLE.GIF VAGUE.WAV; do
  [ -w "$exemple/$f" ] || faute "l'exemple copié n'a pas $f"
done
[ -z "$(ls -A "$vide")" ] || faute "des fichiers dans le dossier de départ : $(ls -A "$vide")"
[ "$(cd "$maison" && find . -name SLI.CFG)" = ./config/vistarama/SLI.CFG ] || faute "SLI.CFG hors de XDG_CONFIG_HOME"
lance "$exemple/DEMO_KV.SLI"
grep -qa "$exemple/PLAGE.JPG" "$exemple/DEMO_KV.SLI" || faute "l'exemple ouvert ne montre pas les images de sa copie"

[ "$fautes" -eq 0 ] && echo "installation complète"
exit "$fautes"
