#!/usr/bin/env bash
# Runs the demo session on a copy of the sample project and draws pictures
# of the resulting drawing.
#
#   examples/run-demo.sh TZCAD OUTDIR
#
# TZCAD is the tzcad program (build/bin/tzcad); OUTDIR receives the project,
# every file the session writes, the session's transcript (transcript.txt),
# the saved drawing (site-out.dxf) and the pictures (*.png, site.pdf).
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 TZCAD OUTDIR" >&2
  exit 2
fi
here="$(cd "$(dirname "$0")" && pwd)"
if [ ! -x "$1" ]; then
  echo "$0: $1 is not a program" >&2
  exit 2
fi
tzcad="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
mkdir -p "$2"
out="$(cd "$2" && pwd)"

# What an earlier run left there would change this run (a settings file
# found instead of made) or pass for its results: start afresh, removing only
# what the demo itself writes.
outputs=(site.set site.tin tztin.asc site-exsec.pfl site-expro.pfl site.exs site.vol
         points-pnezd.asc points-penzd.asc points-xyz.asc nodelist.txt nodelist-nezd.txt
         site.xml points-dump.dat site-out.dxf transcript.txt registry.reg
         site.png site.pdf contours.png contours-straight.png tin.png mesh.png readme-contours.png plot.log)
for name in "${outputs[@]}"; do rm -f "$out/$name"; done
cp "$here"/project/* "$here/demo.scr" "$out"/
mkdir -p "$out/tmp"

# getreg reads the suite's install folder from the registry, kept here in a
# .reg file.
suite_folder="$(cd "$(dirname "$tzcad")/../lib/tzsuite" 2>/dev/null && pwd || true)"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Veltrane\\TZkivoPkg]\r\n"Install_Dir"="%s"\r\n' \
  "$suite_folder" > "$out/registry.reg"

started=$(date +%s)
status=0
(cd "$out" && TEMP="$out/tmp" TZ_REGISTRY="$out/registry.reg" \
   "$tzcad" --drawing site.dxf --save "$out/site-out.dxf" demo.scr > transcript.txt) || status=$?
if [ $status -ne 0 ]; then
  echo "$0: the session ended with status $status; see $out/transcript.txt" >&2
  exit $status
fi

# Pictures of the saved drawing: the whole of it, then the contour map, the
# TIN and the mesh on their own, all from one reading of the drawing. Should
# that fail (a command that has not made its layers), each picture is tried
# on its own and those that cannot be made are reported and left out.
site="BOUNDARY,ALIGNMENT,PAD"
pictures=(  # picture|layers (empty: all that are on)|view|size
  "site.png|||"
  "site.pdf|||"
  "contours.png|TZ_Smoothcontours,TZ_Smoothindex,$site,BREAKLINES,POINTS,STATIONS||"
  "contours-straight.png|TZ_Regcontours,TZ_Indxcontours,$site||"
  "tin.png|TZ_Tin||"
  "mesh.png|TZ_Mesh|iso|"
  "readme-contours.png|TZ_Smoothcontours,TZ_Smoothindex,$site||900"
)
plot_options=()
add_plot_options() {  # a picture line
  local picture layers view size
  IFS="|" read -r picture layers view size <<< "$1"
  plot_options+=(--plot-layers "$layers" --plot-view "${view:-plan}" --plot-size "${size:-1600}" --plot "$picture")
}
plot() {  # tzcad on the saved drawing with plot_options
  (cd "$out" && "$tzcad" --bare --drawing site-out.dxf "${plot_options[@]}" - < /dev/null > plot.log 2>&1)
}
for line in "${pictures[@]}"; do add_plot_options "$line"; done
if ! plot; then
  for line in "${pictures[@]}"; do
    plot_options=()
    add_plot_options "$line"
    plot || echo "$0: $(tail -n 1 "$out/plot.log")" >&2
  done
fi
rm -f "$out/plot.log"

echo "Demo finished in $(( $(date +%s) - started )) s. In $out:"
echo "  transcript.txt     everything the session printed"
echo "  site-out.dxf       the drawing with contours, TIN faces, mesh and leaders"
echo "  site.tin           the terrain model"
echo "  *.pfl, site.exs, site.vol, *.asc, nodelist*.txt, site.xml, points-dump.dat: the other results"
echo "  site.png, site.pdf, contours.png, contours-straight.png, tin.png, mesh.png: pictures"
