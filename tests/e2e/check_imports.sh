#!/usr/bin/env bash
# Proves from their files that the shipped 32-bit programs run on a bare Windows and carry what
# they should:
# - they import exactly the DLL functions of their allow-list under tests/e2e/imports/, each
#   checked against Windows XP when it was listed; as a second guard, nothing that their Windows
#   (XP or Vista) lacks, and no MinGW runtime DLL;
# - they are i386 programs of their PE subsystem (windows, or console for tessaly-cmd.exe) and its
#   version (6.0, or 5.01 for XP);
# - their headers ask for ASLR (DYNAMIC_BASE, with the relocations it needs), DEP (NX_COMPAT) and
#   terminal-server awareness, whatever the toolchain's defaults;
# - they are stripped: no symbol table, no debug sections;
# - they carry the version resource: product name, file description and version the same in
#   every program, and the program's own file name.
# Usage: check_imports.sh BUILD_DIR
# Prints one pass line, or every problem found and exits 1.
set -euo pipefail
set -f # no pathname expansion: the function lists below hold patterns

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
lists=$(dirname "$0")/imports
objdump=i686-w64-mingw32-objdump
windres=i686-w64-mingw32-windres

# One row per shipped program: file, allow-list in tests/e2e/imports/, PE subsystem (2 windows,
# 3 console) and its version, and the oldest Windows it runs on.
programs=(
  "Tessaly.exe tessaly-gui.txt 2 6.0 Vista"
  "Tessaly-xp.exe tessaly-gui.txt 2 5.01 XP"
  "tessaly-cmd.exe tessaly-cmd.txt 3 5.01 XP"
)

# The version resource of every program.
product="Tessaly"
description="Tessaly: remote control of a programmable AC power source"
version="1.0"

# Functions that Windows XP does not have (Vista or later), by DLL-independent name. A trailing
# '*' stands for any ending.
not_on_xp="GetTickCount64 InitializeSRWLock AcquireSRWLock* ReleaseSRWLock* TryAcquireSRWLock*
  InitializeConditionVariable SleepConditionVariable* WakeConditionVariable WakeAllConditionVariable
  InitOnceExecuteOnce InitOnceBeginInitialize InitOnceComplete InitOnceInitialize
  CreateEventEx* CreateMutexEx* CreateSemaphoreEx* CreateWaitableTimerEx*
  InitializeCriticalSectionEx GetFileInformationByHandleEx SetFileInformationByHandle
  GetFinalPathNameByHandle* GetLocaleInfoEx LCMapStringEx CompareStringEx CompareStringOrdinal
  GetUserDefaultLocaleName ResolveLocaleName FlsAlloc FlsGetValue FlsSetValue FlsFree
  GetCurrentProcessorNumber QueryFullProcessImageName* CancelIoEx CancelSynchronousIo GetErrorMode
  GetThreadId GetProcessIdOfThread CreateSymbolicLink* Wow64GetThreadContext
  SetFileCompletionNotificationModes GetQueuedCompletionStatusEx RegGetValue* RegDeleteTree*
  RegSetKeyValue* RegCopyTree* inet_ntop inet_pton InetNtop* InetPton* WSAPoll WSASendMsg
  GetAddrInfoEx* FreeAddrInfoEx* SetProcessDPIAware IsProcessDPIAware ChangeWindowMessageFilter*
  ShutdownBlockReason* AddClipboardFormatListener SHGetKnownFolderPath SHCreateItemFromParsingName
  TaskDialog* *_s"

# Functions that Windows Vista does not have (7 or later).
not_on_vista="TryAcquireSRWLock* SetThreadErrorMode GetThreadErrorMode GetSystemTimePreciseAsFileTime
  CreateFile2 WaitOnAddress WakeByAddress* SetDefaultDllDirectories AddDllDirectory
  RemoveDllDirectory SetThreadDescription GetThreadDescription GetDpiForWindow GetDpiForSystem
  SetProcessDpiAwarenessContext SetProcessDpiAwareness ChangeWindowMessageFilterEx
  PowerCreateRequest"

problems=()
problem() { problems+=("$1"); }

# "dll function" lines of a program's import table, DLL names in lower case, sorted.
imports_of() {
  "$objdump" -p "$1" | awk '
    /^The Import Tables/ { on = 1; next }
    on && /^[A-Za-z]/ { on = 0 }
    !on { next }
    /DLL Name:/ { dll = tolower($3); next }
    dll != "" && /^\t[0-9a-f]+\t/ { print dll, $NF }' | LC_ALL=C sort -u
}

# The allow-list's "dll function" lines, without comments and blank lines, sorted.
allowed_in() { grep -v '^[[:space:]]*\(#\|$\)' "$1" | LC_ALL=C sort -u; }

matches_any() {
  local name=$1 pattern
  for pattern in $2; do
    # shellcheck disable=SC2053 # the pattern is meant as a glob
    [[ $name == $pattern ]] && return 0
  done
  return 1
}

# The value of KEY in the program's version resource, as the resource compiler reads it back.
version_value() {
  awk -v key="\"$2\"," '$1 == "VALUE" && $2 == key {
    sub(/^[^,]*, *"/, ""); sub(/"[[:space:]]*$/, ""); print; exit }' <<<"$1"
}

check_imports() {
  local exe=$1 list=$2 windows=$3 name=${1##*/} table allowed dll function
  table=$(imports_of "$exe")
  [ -n "$table" ] || { problem "$name: no import table read"; return; }
  allowed=$(allowed_in "$list")
  while read -r dll function; do
    problem "$name: imports $function from $dll, which $(basename "$list") does not allow"
  done < <(LC_ALL=C comm -23 <(echo "$table") <(echo "$allowed"))
  while read -r dll function; do
    problem "$name: $(basename "$list") allows $function from $dll, which it no longer imports"
  done < <(LC_ALL=C comm -13 <(echo "$table") <(echo "$allowed"))

  local missing_list=$not_on_xp
  [ "$windows" = Vista ] && missing_list=$not_on_vista
  while read -r dll function; do
    case "$dll" in
    libstdc++* | libgcc* | libwinpthread* | libssp* | libatomic* | libgomp*)
      problem "$name: imports the MinGW runtime DLL $dll (link it statically)" ;;
    esac
    if matches_any "$function" "$missing_list"; then
      problem "$name: imports $function from $dll, which Windows $windows lacks"
    fi
  done <<<"$table"
}

check_header() {
  local exe=$1 kind=$2 subsystem=$3 name=${1##*/} header file_header got want
  header=$("$objdump" -p "$exe")
  file_header=$("$objdump" -f "$exe")
  grep -q 'file format pei-i386' <<<"$header" || problem "$name: not a 32-bit (i386) program"
  grep -Eq "^Subsystem[[:space:]]+0*$kind[[:space:]]" <<<"$header" ||
    problem "$name: not of PE subsystem $kind (2 windows, 3 console)"
  got=$(awk '$1 == "MajorSubsystemVersion" { major = $2 } $1 == "MinorSubsystemVersion" {
    minor = $2 } END { printf "%s.%02d", major, minor }' <<<"$header")
  want=$(printf '%s.%02d' "${subsystem%.*}" "${subsystem#*.}")
  [ "$got" = "$want" ] || problem "$name: subsystem version $got, expected $want"

  local bit
  for bit in DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
    awk '/^DllCharacteristics/ { on = 1; next } on && /^[A-Za-z]/ { exit } on' <<<"$header" |
      grep -qw "$bit" || problem "$name: DllCharacteristics lack $bit"
  done
  grep -qw HAS_RELOC <<<"$file_header" ||
    problem "$name: no relocations, so Windows cannot move it (ASLR)"
  if grep -qw HAS_SYMS <<<"$file_header"; then
    problem "$name: not stripped: it has a symbol table"
  fi
  if "$objdump" -h "$exe" | grep -q ' \.debug'; then
    problem "$name: not stripped: it has debug sections"
  fi
}

check_version() {
  local exe=$1 name=${1##*/} resources key want got
  resources=$("$windres" -J coff -O rc -i "$exe" 2>/dev/null) || resources=""
  for key in ProductName FileDescription FileVersion ProductVersion OriginalFilename; do
    case $key in
    ProductName) want=$product ;;
    FileDescription) want=$description ;;
    FileVersion | ProductVersion) want=$version ;;
    OriginalFilename) want=$name ;;
    esac
    got=$(version_value "$resources" "$key")
    [ "$got" = "$want" ] || problem "$name: version resource $key is \"$got\", expected \"$want\""
  done
}

checked=()
for row in "${programs[@]}"; do
  read -r program list kind subsystem windows <<<"$row"
  exe=$1/$program
  if [ ! -f "$exe" ]; then
    problem "$exe: not found"
    continue
  fi
  check_imports "$exe" "$lists/$list" "$windows"
  check_header "$exe" "$kind" "$subsystem"
  check_version "$exe"
  checked+=("$program (subsystem $kind $subsystem, $windows)")
done

if [ ${#problems[@]} -gt 0 ]; then
  printf 'check_imports: %s\n' "${problems[@]}" >&2
  exit 1
fi
joined=$(printf '%s, ' "${checked[@]}")
echo "check_imports: pass: ${joined%, }: i386, imports exactly their allow-lists, ASLR, DEP and" \
  "terminal-server aware, stripped, version resource"
