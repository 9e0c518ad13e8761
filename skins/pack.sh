#!/bin/sh
# Packs each skin folder into skins/packed/SkinItemN.skn with the host packer:
#   skins/pack.sh PATH/TO/skinpack
# The packed archives are committed so that the Windows builds can embed them; the
# native build checks that they still match their sources.
set -e
packer=${1:?usage: skins/pack.sh PATH/TO/skinpack}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$here/packed"
for n in 0 1 2 3 4; do
  dir="$here/SkinItem$n"
  # shellcheck disable=SC2046
  (cd "$dir" && "$packer" -o "$here/packed/SkinItem$n.skn" $(cat files.txt))
done
