#!/usr/bin/env bash
# Every quoted include of a product folder names a header of that folder or of a folder it may
# depend on: script <- win32 <- install <- wizard <- app; uninstall and the tools use script,
# win32 and install, never wizard or app; the single-file starter uses win32 alone, and qsmedia
# its payload format; qsrun uses the script core, the log reader (install/) and qscheck's
# wildcards. The portable core and the engine show no window: no dialog or message box of user32
# is called in script/ or install/ (they ask through SetupHost and InstallPrompt). Prints each
# include that runs the wrong way and each such call.
# Usage: layers_test.sh SOURCE_DIR
set -u
cd "$1" || exit 2
allowed() {
  case $1 in
    script) echo "script" ;;
    win32) echo "script win32" ;;
    install) echo "script win32 install" ;;
    wizard) echo "script win32 install wizard resources" ;;
    app) echo "script win32 install wizard app resources" ;;
    uninstall) echo "script win32 install uninstall" ;;
    starter) echo "win32 starter" ;;
    tools/qscheck) echo "script win32 install uninstall tools/qscheck" ;;
    tools/qsmedia) echo "script starter tools/qsmedia tools/qscheck" ;;
    tools/qsrun) echo "script install uninstall tools/qscheck tools/qsrun resources" ;;
  esac
}
folders="script win32 install wizard app uninstall starter tools/qscheck tools/qsmedia tools/qsrun"
status=0
for folder in $folders; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    while read -r header; do
      home=""
      for candidate in $folders resources; do
        [ -e "$candidate/$header" ] && home=$candidate && break
      done
      [ -n "$home" ] || continue  # a header of the build or the system
      case " $(allowed "$folder") " in
        *" $home "*) ;;
        *) echo "$file: includes $home/$header"; status=1 ;;
      esac
    done < <(grep -o '#include "[^"]*"' "$file" | sed 's/#include "\(.*\)"/\1/')
  done
done
if [ $status -ne 0 ]; then
  echo "layers: includes against the direction of the layers (docs/layers.md)"
  exit 1
fi

# Calls of user32's dialogs and message boxes, and of the program's own message box, outside
# comments: MessageBoxA, DialogBoxParamA, CreateDialogParamA, EndDialog, SetDlgItemTextA, ...
dialogCall='\b(MessageBox[A-Za-z]*|showMessageBox|DialogBox[A-Za-z]*|CreateDialog[A-Za-z]*|EndDialog|[A-Za-z]*Dlg[A-Za-z]*)[[:space:]]*\('
for folder in script install; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    while IFS= read -r line; do
      echo "$file:$line"
      status=1
    done < <(sed 's://.*$::' "$file" | grep -nE "$dialogCall")
  done
done
if [ $status -ne 0 ]; then
  echo "layers: script/ and install/ show no window; the wizard asks for them (docs/layers.md)"
  exit 1
fi
echo "layers: every include runs with the layers, and script/ and install/ show no window"
