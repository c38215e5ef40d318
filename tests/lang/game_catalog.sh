#!/bin/sh
# Every text the game marks for translation has its Japanese, and the catalog holds no text
# the sources no longer have.
#   tests/lang/game_catalog.sh SOURCE-FOLDER
set -eu
source=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$source"
git ls-files 'src/*.cpp' 2>/dev/null | grep -v '^src/poster/' >"$work/files" ||
  find src -name '*.cpp' ! -path 'src/poster/*' >"$work/files"
xgettext --keyword=Tr --keyword=TrWith --keyword=TrLater --keyword=TrPlural:1,2 --from-code=UTF-8 --language=C++ --no-location -f "$work/files" \
  -o "$work/veldrane.pot"
msgfmt --check -o /dev/null res/lang/ja.po
# Every source text translated, then every catalog text still in the sources.
msgcmp res/lang/ja.po "$work/veldrane.pot"
msgcmp --use-untranslated "$work/veldrane.pot" res/lang/ja.po
