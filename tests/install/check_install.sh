#!/usr/bin/env bash
# Installs the build into a temporary prefix with `cmake --install` and checks
# what lands there: every data file in share/tivorama and nothing else, the
# icon at every size, the desktop entry and the AppStream metadata valid and
# naming the installed program, the manual pages, and the program answering
# --version from another folder without a display.
#
# Usage: check_install.sh <build dir> <cmake> <bindir> <datadir> <mandir>
# The prefix holds a space on purpose: the desktop entry must quote it.
# desktop-file-validate, appstreamcli and groff are used when installed; when
# one is not, that is said and the test ends as skipped (77) after all the
# other checks have passed; with TIVORAMA_REQUIRE_VALIDATORS=1 (the package
# build) it fails instead.
set -euo pipefail
build=$1 cmake=$2 bindir=$3 datadir=$4 mandir=$5

fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix with space"
not_checked=()

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; fail "cmake --install failed"; }

program="$prefix/$bindir/tivorama"
[ -x "$program" ] || fail "no program at $program"

# The data: exactly the files the program reads by bare name.
expected=$( { for n in $(seq 1 23); do echo "$n.wav"; done
              echo 1.doc; echo 2.doc; echo 3.doc
              for p in clear ship set goal killed missed; do echo "sea$p.bmp"; done; } | sort)
actual=$(ls -A "$prefix/$datadir/tivorama" | sort)
[ "$actual" = "$expected" ] || fail "share/tivorama holds:
$actual"
for f in "$prefix/$datadir/tivorama"/*; do
  [ -s "$f" ] || fail "$f is empty"
done

# The icon, a PNG of its own size in every folder of the theme.
for size in 16 22 24 32 48 64 128 256; do
  icon="$prefix/$datadir/icons/hicolor/${size}x${size}/apps/tivorama.png"
  [ -f "$icon" ] || fail "no icon $icon"
  read -r -a b <<<"$(od -An -tu1 -w24 -N24 "$icon")"
  [ "${b[1]} ${b[2]} ${b[3]}" = "80 78 71" ] || fail "$icon is not a PNG"
  w=$(( (b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19] ))
  h=$(( (b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23] ))
  [ "$w x $h" = "$size x $size" ] || fail "$icon is $w x $h"
done

# The desktop entry starts the installed program by its absolute path.
desktop="$prefix/$datadir/applications/tivorama.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
grep -qxF "TryExec=$program" "$desktop" || fail "TryExec does not name $program"
grep -qxF "Exec=\"$program\"" "$desktop" || fail "Exec does not name \"$program\""
[ "$(grep -c "^Exec=\"$program\" --game " "$desktop")" = 3 ] || fail "not three game actions"
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
else
  not_checked+=(desktop-file-validate)
fi

# The AppStream metadata, launching that desktop entry.
metainfo=("$prefix/$datadir/metainfo/"*.metainfo.xml)
[ "${#metainfo[@]}" = 1 ] && [ -f "${metainfo[0]}" ] || fail "not one metainfo file"
grep -qF '<launchable type="desktop-id">tivorama.desktop</launchable>' "${metainfo[0]}" \
  || fail "the metainfo does not launch tivorama.desktop"
if command -v appstreamcli >/dev/null; then
  out=$(appstreamcli validate --no-net "${metainfo[0]}" 2>&1) || fail "appstreamcli: $out"
else
  not_checked+=(appstreamcli)
fi

# The manual pages, English and Russian, free of formatter warnings.
for page in "$prefix/$mandir/man6/tivorama.6" "$prefix/$mandir/ru/man6/tivorama.6"; do
  [ -s "$page" ] || fail "no manual page $page"
  if command -v groff >/dev/null; then
    out=$(groff -man -Tutf8 -K utf8 -ww -z "$page" 2>&1) || fail "groff: $out"
    [ -z "$out" ] || fail "groff on $page: $out"
  fi
done
command -v groff >/dev/null || not_checked+=(groff)

# From another folder and without a display, as a menu or a terminal would.
version=$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version) \
  || fail "$program --version failed"
[ "$version" = "Tivorama 1.0" ] || fail "$program --version printed: $version"

if ((${#not_checked[@]})); then
  if [ "${TIVORAMA_REQUIRE_VALIDATORS:-}" = 1 ]; then
    fail "not installed, so not checked: ${not_checked[*]}"
  fi
  echo "SKIPPED: everything else passed, but these are not installed, so not checked: ${not_checked[*]}"
  exit 77
fi
echo "The installed tree is complete and valid."
