#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what the desktop and the software centres
# read from it: the executable, the desktop entry, the AppStream metadata and the icons.
#
#   check-install.sh CMAKE BUILD_DIR CONFIG APP_ID VERSION
#
# Needs desktop-file-validate (desktop-file-utils), appstreamcli (appstream) and readelf.
set -euo pipefail

if [ $# -ne 5 ]; then
  echo "usage: $0 CMAKE BUILD_DIR CONFIG APP_ID VERSION" >&2
  exit 2
fi
cmake=$1 build=$2 config=$3 id=$4 version=$5

for tool in desktop-file-validate appstreamcli readelf; do
  if ! command -v "$tool" >/dev/null; then
    echo "check-install.sh: $tool is missing (apt-get install desktop-file-utils appstream binutils)" >&2
    exit 1
  fi
done

prefix=$(mktemp -d "${TMPDIR:-/tmp}/pwx36-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

config_args=()
[ -n "$config" ] && config_args=(--config "$config")
if ! log=$("$cmake" --install "$build" --prefix "$prefix" "${config_args[@]}" 2>&1); then
  echo "$log" >&2
  echo "FAIL: cmake --install into $prefix" >&2
  exit 1
fi

passed=0 failed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

# Prints the width and height stored in a PNG's IHDR chunk, e.g. "48 48".
png_size() {
  local b
  read -ra b < <(od -An -v -tu1 -j16 -N8 "$1")
  [ ${#b[@]} -eq 8 ] || return 1
  echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3])) $(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}

# ---- the executable --------------------------------------------------------------------------
exe="$prefix/bin/pwx36-editor"
if [ -f "$exe" ] && [ -x "$exe" ] && [ "$(head -c4 "$exe" | od -An -c | tr -d ' ')" = '177ELF' ]; then
  pass "executable installed: bin/pwx36-editor"
  if readelf -d "$exe" | grep -E '\((RUN)?PATH\)' | grep -qF "$build"; then
    fail "the installed executable still looks for libraries in the build tree"
  else
    pass "no run path into the build tree"
  fi
else
  fail "bin/pwx36-editor is missing, not executable or not an ELF file"
fi

# ---- the programs it starts --------------------------------------------------------------------
for program in pwx36-editor-window pwx36-editor-pdf; do
  if [ -x "$prefix/lib/pwx36-editor/$program" ]; then
    pass "lib/pwx36-editor/$program installed"
  else
    fail "lib/pwx36-editor/$program is missing or not executable"
  fi
done
if [ -x "$exe" ] && out=$("$exe" --version 2>&1) && [ "$out" = "pwx36-editor $version" ]; then
  pass "pwx36-editor --version"
else
  fail "pwx36-editor --version printed: ${out:-nothing}"
fi

# ---- the libraries loaded at run time ---------------------------------------------------------
# A library the editor loads when it needs it (libavfilter for levelling's limiter) is no link
# that dpkg-shlibdeps sees: the package must name it, and this system must have it.
depends=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_DEPENDS "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
if [ -f "$exe" ]; then
  for soname in $(grep -aoE 'libavfilter\.so\.[0-9]+' "$exe" | sort -u); do
    package="libavfilter${soname##*.so.}"
    if [[ ", $depends," == *", $package,"* ]]; then
      pass "the package depends on $package, which holds $soname"
    else
      fail "the editor loads $soname, but the package does not depend on $package"
    fi
    if [[ $(ldconfig -p) == *"$soname "* ]]; then
      pass "$soname is installed here"
    else
      fail "$soname, which the editor loads, is missing (apt-get install $package)"
    fi
  done
fi

# ---- the desktop entry -----------------------------------------------------------------------
desktop="$prefix/share/applications/$id.desktop"
if [ -f "$desktop" ]; then
  pass "desktop entry installed: share/applications/$id.desktop"
  # Any message counts, hints included: the entry is clean and is to stay so.
  if out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ]; then
    pass "desktop-file-validate"
  else
    fail "desktop-file-validate: $out"
  fi
  exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop" | head -n1)
  if [ -n "$exec_cmd" ] && [ -x "$prefix/bin/$exec_cmd" ]; then
    pass "Exec=$exec_cmd is the installed executable"
  else
    fail "Exec=$exec_cmd does not name an executable installed in bin/"
  fi
  # Started from the menu, the current folder is the home folder: the window works in a
  # folder of its own instead, when the entry says so.
  if grep -qE '^Exec=[^ ]+ --from-desktop( |$)' "$desktop"; then
    pass "Exec passes --from-desktop"
  else
    fail "Exec does not pass --from-desktop: the window would work in the home folder"
  fi
  # A file manager passes the folder (or the plist.cfg) it opens the editor on.
  if grep -qE '^Exec=[^ ]+ --from-desktop %f$' "$desktop"; then
    pass "Exec takes the folder to open (%f)"
  else
    fail "Exec does not take %f: a file manager cannot open a project with the editor"
  fi
  icon=$(sed -n 's/^Icon=//p' "$desktop" | head -n1)
  if [ "$icon" = "$id" ]; then
    pass "Icon=$icon"
  else
    fail "Icon=$icon, expected $id"
  fi
else
  fail "desktop entry share/applications/$id.desktop is missing"
fi

# ---- the AppStream metadata ------------------------------------------------------------------
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
if [ -f "$metainfo" ]; then
  pass "metainfo installed: share/metainfo/$id.metainfo.xml"
  if out=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1); then
    pass "appstreamcli validate --no-net --strict"
  else
    fail "appstreamcli validate: $out"
  fi
  if out=$(appstreamcli validate-tree --no-net --strict "$prefix" 2>&1); then
    pass "appstreamcli validate-tree --no-net --strict (metainfo, desktop entry and icon agree)"
  else
    fail "appstreamcli validate-tree: $out"
  fi
  if grep -qF "<id>$id</id>" "$metainfo"; then
    pass "component id $id"
  else
    fail "component id is not $id"
  fi
  if grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"; then
    pass "launchable $id.desktop"
  else
    fail "launchable does not name $id.desktop"
  fi
  newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
  if [ "$newest" = "$version" ]; then
    pass "newest release is $version"
  else
    fail "newest release in the metainfo is '$newest', the project version is $version"
  fi
  if grep -q '@[A-Za-z_]*@' "$metainfo"; then
    fail "unreplaced placeholders: $(grep -o '@[A-Za-z_]*@' "$metainfo" | sort -u | tr '\n' ' ')"
  else
    pass "no unreplaced placeholders"
  fi
else
  fail "metainfo share/metainfo/$id.metainfo.xml is missing"
fi

# ---- the icons -------------------------------------------------------------------------------
icons="$prefix/share/icons/hicolor"
svg="$icons/scalable/apps/$id.svg"
if [ -f "$svg" ] && grep -q '<svg' "$svg"; then
  pass "scalable icon installed"
else
  fail "scalable icon $svg is missing or not SVG"
fi
for size in 48 128 256; do
  png="$icons/${size}x${size}/apps/$id.png"
  if [ ! -f "$png" ]; then
    fail "icon ${size}x${size}/apps/$id.png is missing"
  elif [ "$(head -c8 "$png" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
    fail "icon ${size}x${size}/apps/$id.png is not a PNG"
  elif [ "$(png_size "$png")" != "$size $size" ]; then
    fail "icon ${size}x${size}/apps/$id.png is $(png_size "$png" | tr ' ' x) pixels"
  else
    pass "icon ${size}x${size} installed"
  fi
done

# ---- the package documentation ---------------------------------------------------------------
if [ -f "$prefix/share/doc/pwx36-editor/copyright" ]; then
  pass "share/doc/pwx36-editor/copyright installed"
else
  fail "share/doc/pwx36-editor/copyright is missing"
fi

# ---- the manual page, the completion and the changelog ---------------------------------------
man="$prefix/share/man/man1/pwx36-editor.1.gz"
if [ -f "$man" ] && gzip -t "$man" 2>/dev/null && zcat "$man" | grep -q '^\.TH PWX36\\-EDITOR 1'; then
  pass "manual page share/man/man1/pwx36-editor.1.gz installed"
else
  fail "manual page share/man/man1/pwx36-editor.1.gz is missing or no manual page"
fi
completion="$prefix/share/bash-completion/completions/pwx36-editor"
if [ -f "$completion" ] && bash -n "$completion" && grep -q 'complete .*pwx36-editor' "$completion"; then
  pass "bash completion installed and parses"
else
  fail "bash completion $completion is missing or does not parse"
fi
changelog="$prefix/share/doc/pwx36-editor/changelog.gz"
if [ -f "$changelog" ] && zcat "$changelog" | head -n1 | grep -qF "pwx36-editor ($version)"; then
  pass "changelog.gz installed, newest entry $version"
else
  fail "share/doc/pwx36-editor/changelog.gz is missing or does not start with version $version"
fi

echo "check-install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
