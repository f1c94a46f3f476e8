#!/usr/bin/env bash
# Keeps the code's layers apart: the core folders include no Qt header and
# nothing of the program's windows, and the dialogs include nothing of the
# control center. Prints every offending include and fails when there is one.
set -uo pipefail
cd "$(dirname "$0")/../src"

core=(log geometry database edit snap exchange view/scene)
program_headers='"(view/[A-Z][A-Za-z_]*\.h|control/|dialogs/|output/)[^"]*"'
status=0

for folder in "${core[@]}"; do
  hits=$(grep -nE '^\s*#\s*include\s*(<Q|<qt|'"$program_headers"')' "$folder"/*.cpp "$folder"/*.h 2>/dev/null)
  if [ -n "$hits" ]; then
    echo "Core folder $folder includes Qt or the program's windows:"
    echo "$hits" | sed 's/^/    /'
    status=1
  fi
done

hits=$(grep -nE '^\s*#\s*include\s*"control/' dialogs/*.cpp dialogs/*.h 2>/dev/null)
if [ -n "$hits" ]; then
  echo "The dialogs include headers of the control center:"
  echo "$hits" | sed 's/^/    /'
  status=1
fi

[ $status -eq 0 ] && echo "Layers are kept apart."
exit $status
