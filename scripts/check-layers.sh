#!/usr/bin/env bash
# The framework's layers use only the layers beneath them and nothing of the program's: a file in
# platform/<layer> may include "platform/<that layer or one beneath>/..." and no header of app/,
# doc/, model/, view/, dialogs/, zoom/ or res/. The linker catches most back-references; this also
# catches the ones that only reach a header.
#
#   scripts/check-layers.sh [source folder]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"
layers=(core picture gdi res ui app)
status=0
for i in "${!layers[@]}"; do
    layer=${layers[$i]}
    allowed=$(IFS='|'; echo "${layers[*]:0:$((i + 1))}")
    if grep -H '^#include "' platform/"$layer"/*.h platform/"$layer"/*.cpp | grep -vE "#include \"platform/($allowed)/"; then
        echo "these files of platform/$layer include what is not beneath it" >&2
        status=1
    fi
done
[[ $status -eq 0 ]] && echo "every platform layer includes only its own layer and those beneath it"
exit $status
