#!/bin/sh
# Installs the build into a staging folder and checks what a desktop user gets: every file in its
# place, valid desktop and AppStream files, the manual page, and an installed program that keeps
# its collections in the XDG data folder.
set -eu
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /opt/qb >/dev/null
root=$stage/opt/qb
for f in bin/quillbox bin/quillbox-cli \
         share/applications/org.quillbox.Quillbox.desktop share/metainfo/org.quillbox.Quillbox.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.quillbox.Quillbox.svg \
         share/icons/hicolor/48x48/apps/org.quillbox.Quillbox.png \
         share/bash-completion/completions/quillbox-cli share/man/man1/quillbox-cli.1; do
    [ -e "$root/$f" ] || { echo "missing after install: $f"; exit 1; }
done
[ -d "$root/share/quillbox" ] || { echo "missing after install: share/quillbox"; exit 1; }
[ -f "$root/share/quillbox/Help.rtf" ] || { echo "missing after install: share/quillbox/Help.rtf"; exit 1; }
desktop-file-validate "$root/share/applications/org.quillbox.Quillbox.desktop"
appstreamcli validate --no-net --no-color "$root/share/metainfo/org.quillbox.Quillbox.metainfo.xml" >/dev/null
man --warnings -l "$root/share/man/man1/quillbox-cli.1" 2>&1 >/dev/null | (! grep .)
# The manual page is the program's --help.
"$root/bin/quillbox-cli" --help | grep -q 'search DIR KEYWORDS'
zcat -f "$root/share/man/man1/quillbox-cli.1" | grep -q 'search DIR KEYWORDS'
# The installed program keeps collections under $XDG_DATA_HOME, never beside itself.
home=$stage/home
mkdir -p "$home" "$stage/docs"
echo hello > "$stage/docs/a.txt"
env -u QUILLBOX_HOME HOME="$home" XDG_DATA_HOME="$home/data" "$root/bin/quillbox-cli" refresh "$stage/docs" >/dev/null
ls "$home/data/Quillbox/Collection/"*.inf >/dev/null
[ ! -e "$root/bin/Collection" ] || { echo "collections written beside the installed program"; exit 1; }
# Bash completion offers the program's commands.
bash -c ". '$root/share/bash-completion/completions/quillbox-cli'; COMP_WORDS=('$root/bin/quillbox-cli' fav); COMP_CWORD=1; _quillbox_cli; [ \"\${COMPREPLY[*]}\" = favorite ]"
echo "install tree ok"
