#!/bin/sh
# Every text of the report tool has its English translation: the catalog made again from the
# sources is the one kept, with nothing left unfinished.
#   tests/lang/poster_catalog.sh LUPDATE SOURCE-FOLDER
set -eu
lupdate=$1
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kept="$source/res/lang/envposter_en.ts"
cp "$kept" "$work/envposter_en.ts"
(cd "$source" && "$lupdate" -silent src/poster -ts "$work/envposter_en.ts" -locations none \
  -no-obsolete -source-language ja -target-language en)
if grep -q 'type="unfinished"' "$work/envposter_en.ts"; then
  echo "texts without their English translation:"
  grep -B1 'type="unfinished"' "$work/envposter_en.ts" | grep '<source>'
  exit 1
fi
if ! cmp -s "$kept" "$work/envposter_en.ts"; then
  echo "res/lang/envposter_en.ts is not what the sources make; run lupdate as above:"
  diff -u "$kept" "$work/envposter_en.ts" || true
  exit 1
fi
