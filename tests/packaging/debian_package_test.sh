#!/usr/bin/env bash
# Builds the Debian package and installs it with dpkg into a throwaway root that has a package
# database of its own, so that the machine the test runs on is never changed. Checks that its
# files sit where a freedesktop system looks for them, that it depends on the packages of every
# library its programs link and on the font its windows are drawn for, that its maintainer
# scripts leave this machine's udev alone, that the installed program opens its window and the
# rig-control server answers --help, and that removing the package takes every file away again.
#
# Usage: tools/virtual_display.py -- debian_package_test.sh BUILD_DIR
set -euo pipefail

build_dir=$1
package=vexa-sdr-control
window_title='Vexa SDR Control Program'
design_font_package=fonts-liberation2
desktop_entry=usr/share/applications/vexa-sdr-control.desktop
metainfo=usr/share/metainfo/org.vexa.SdrControl.metainfo.xml
udev_rule=usr/lib/udev/rules.d/60-vexa-sdr.rules
icon_sizes=(16 32 48 256)
server=usr/bin/vexa-sdr-rigctld
deadline_seconds=30

scratch=$(mktemp -d)
root=$scratch/root
background_pids=()
cleanup() {
  for pid in "${background_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

build_package() {
  cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack could not build the package"; }
  local debs=("$scratch"/out/*.deb)
  [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "cpack made ${#debs[@]} packages, not one"
  deb=${debs[0]}
  depends=", $(dpkg-deb --field "$deb" Depends),"
  echo "built $(basename "$deb"), Depends: ${depends:2:-1}"
}

# Whether Depends names the package, with or without a version.
depends_on() {
  [[ $depends == *", $1 "* || $depends == *", $1,"* ]]
}

check_control_fields() {
  [[ $(dpkg-deb --field "$deb" Package) == "$package" ]] || fail "wrong package name"
  [[ $(dpkg-deb --field "$deb" Section) == hamradio ]] || fail "section is not hamradio"
  [[ -n $(dpkg-deb --field "$deb" Maintainer) ]] || fail "no maintainer"
  [[ -n $(dpkg-deb --field "$deb" Description) ]] || fail "no description"
  depends_on "$design_font_package" ||
    fail "Depends lacks $design_font_package, the font the windows are laid out for"
}

# dpkg on the throwaway root and its own database. The maintainer scripts run outside a chroot,
# as they must without a system in the root, and see the root in DPKG_ROOT; udevadm is a stub
# that notes each call, so that one meant for this machine shows.
throwaway_dpkg() {
  PATH="$scratch/stubs:$PATH" dpkg --instdir="$root" --admindir="$scratch/dpkg" \
    --log="$scratch/dpkg.log" --force-not-root --force-bad-path --force-depends \
    --force-script-chrootless "$@" >"$scratch/dpkg.out" 2>&1 ||
    { cat "$scratch/dpkg.out" >&2; fail "dpkg $* failed on the throwaway root"; }
  [[ ! -s $scratch/udevadm.calls ]] ||
    fail "dpkg $1 ran udevadm on this machine: $(cat "$scratch/udevadm.calls")"
}

prepare_throwaway_root() {
  mkdir -p "$root" "$scratch/dpkg/info" "$scratch/dpkg/updates" "$scratch/stubs"
  : >"$scratch/dpkg/status"
  printf '#!/bin/sh\necho "udevadm $*" >>"%s"\n' "$scratch/udevadm.calls" >"$scratch/stubs/udevadm"
  chmod +x "$scratch/stubs/udevadm"
}

# The package that holds a library file; dpkg knows merged-/usr files by either path.
package_of() {
  local file owner
  file=$(readlink -f "$1")
  owner=$(dpkg --search "$file" 2>/dev/null || dpkg --search "${file#/usr}" 2>/dev/null) ||
    fail "no package holds $1"
  owner=${owner%%:*}
  echo "${owner%%,*}"
}

# Every shared library a program links must come from a package that Depends names.
check_dependencies() {
  local binary=$1 soname owner
  local -A path_of
  while read -r soname path; do
    path_of[$soname]=$path
  done < <(ldd "$binary" | awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }')
  while read -r soname; do
    [[ -n ${path_of[$soname]:-} ]] || fail "ldd does not find $soname"
    owner=$(package_of "${path_of[$soname]}")
    depends_on "$owner" || fail "Depends lacks $owner, which holds $soname for $binary"
  done < <(readelf --dynamic "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
}

# Sets $program to the installed program that the desktop entry starts.
check_files() {
  local exec_name icon_name size png
  [[ -f $root/$desktop_entry ]] || fail "no desktop entry at /$desktop_entry"
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/$desktop_entry")
  icon_name=$(sed -n 's/^Icon=//p' "$root/$desktop_entry")
  [[ -x $root/usr/bin/$exec_name ]] || fail "the desktop entry starts $exec_name, not in /usr/bin"
  [[ -f $root/$metainfo ]] || fail "no metainfo at /$metainfo"
  grep -q "<launchable type=\"desktop-id\">$(basename "$desktop_entry")</launchable>" \
    "$root/$metainfo" || fail "the metainfo does not launch $(basename "$desktop_entry")"
  [[ -f $root/$udev_rule ]] || fail "no udev rule at /$udev_rule"
  for size in "${icon_sizes[@]}"; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon_name.png
    [[ -f $png ]] || fail "no ${size}x${size} icon $icon_name.png"
    [[ $(/usr/bin/identify -format '%wx%h' "$png") == "${size}x${size}" ]] ||
      fail "the icon in ${size}x${size} is $(/usr/bin/identify -format '%wx%h' "$png")"
  done
  [[ -f $root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg ]] ||
    fail "no scalable icon $icon_name.svg"
  program=$root/usr/bin/$exec_name
}

check_server_runs() {
  [[ -x $root/$server ]] || fail "no rig-control server at /$server"
  "$root/$server" --help | grep -q -- --multiplier || fail "/$server --help shows no options"
}

check_window_opens() {
  local binary=$1 pid waited=0
  QT_QPA_PLATFORM=xcb "$binary" >"$scratch/program.log" 2>&1 &
  pid=$!
  background_pids+=("$pid")
  until xdotool search --onlyvisible --name "^$window_title\$" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { cat "$scratch/program.log" >&2; fail "$binary ended early"; }
    ((waited++ < deadline_seconds * 10)) || fail "no window \"$window_title\" from $binary"
    sleep 0.1
  done
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$binary opened \"$window_title\""
}

build_package
check_control_fields
prepare_throwaway_root
throwaway_dpkg --install "$deb"
check_files
for binary in "$root"/usr/bin/*; do
  check_dependencies "$binary"
done
check_window_opens "$program"
check_server_runs
throwaway_dpkg --purge "$package"
left=$(find "$root" -type f)
[[ -z $left ]] || fail "removing the package left files behind: $left"
echo "installed into and removed from a throwaway root; this machine untouched"
