#!/usr/bin/env bash
# Proves from their import tables that the three 32-bit programs run on a bare Windows: they import
# only system DLLs (no MinGW runtime DLLs beside the program), Tessaly-xp.exe and tessaly-cmd.exe
# import no function that Windows XP lacks and Tessaly.exe none that Windows Vista lacks, and their
# PE subsystems are windows 6.0, windows 5.01 and console 5.01.
# Usage: check_imports.sh WIN32_BUILD_DIR
# Prints one pass line, or every problem found and exits 1.
set -euo pipefail
set -f # no pathname expansion: the function lists below hold patterns

if [ $# -ne 1 ]; then
  echo "usage: $0 WIN32_BUILD_DIR" >&2
  exit 2
fi

# DLLs that every Windows from XP on has.
system_dlls="kernel32 user32 gdi32 ws2_32 wsock32 shell32 msvcrt advapi32 comctl32 comdlg32
  ole32 oleaut32 shlwapi winmm version winspool.drv imm32 mpr iphlpapi"

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

# "dll function" lines of a program's import table (DLL names in lower case).
imports_of() {
  "$1" -p "$2" | awk '
    /^The Import Tables/ { on = 1; next }
    on && /^[A-Za-z]/ { on = 0 }
    !on { next }
    /DLL Name:/ { dll = tolower($3); sub(/\.dll$/, "", dll); print dll, "-"; next }
    dll != "" && /^\t[0-9a-f]+\t/ { print dll, $NF }'
}

matches_any() {
  local name=$1 pattern
  for pattern in $2; do
    # shellcheck disable=SC2053 # the pattern is meant as a glob
    [[ $name == $pattern ]] && return 0
  done
  return 1
}

# check_program EXE OBJDUMP MAJOR MINOR MISSING_LIST WINDOWS [SUBSYSTEM: 2 windows (default), 3 console]
check_program() {
  local exe=$1 objdump=$2 major=$3 minor=$4 missing_list=$5 windows=$6 subsystem=${7:-2}
  if [ ! -f "$exe" ]; then
    problem "$exe: not found"
    return
  fi
  local table
  table=$(imports_of "$objdump" "$exe")
  if [ -z "$table" ]; then
    problem "$exe: no import table read"
    return
  fi
  local dll name
  while read -r dll name; do
    if [ "$name" = "-" ]; then
      case "$dll" in
      libstdc++* | libgcc* | libwinpthread* | libssp* | libatomic* | libgomp*)
        problem "$(basename "$exe"): imports the MinGW runtime DLL $dll.dll (link it statically)" ;;
      *)
        matches_any "$dll" "$system_dlls" ||
          problem "$(basename "$exe"): imports $dll.dll, which is not a system DLL" ;;
      esac
    elif matches_any "$name" "$missing_list"; then
      problem "$(basename "$exe"): imports $name from $dll.dll, which Windows $windows lacks"
    fi
  done <<<"$table"

  local header got_major got_minor
  header=$("$objdump" -p "$exe")
  grep -q 'file format pei-i386' <<<"$header" ||
    problem "$(basename "$exe"): not a 32-bit (i386) program"
  grep -Eq "^Subsystem[[:space:]]+0*$subsystem[[:space:]]" <<<"$header" ||
    problem "$(basename "$exe"): not of PE subsystem $subsystem (2 windows, 3 console)"
  got_major=$(awk '$1 == "MajorSubsystemVersion" { print $2 }' <<<"$header")
  got_minor=$(awk '$1 == "MinorSubsystemVersion" { print $2 }' <<<"$header")
  if [ "$got_major" != "$major" ] || [ "$got_minor" != "$minor" ]; then
    local got want
    got=$(printf '%s.%02d' "$got_major" "$got_minor")
    want=$(printf '%s.%02d' "$major" "$minor")
    problem "$(basename "$exe"): subsystem version $got, expected $want"
  fi
}

check_program "$1/Tessaly.exe" i686-w64-mingw32-objdump 6 0 "$not_on_vista" Vista
check_program "$1/Tessaly-xp.exe" i686-w64-mingw32-objdump 5 1 "$not_on_xp" XP
check_program "$1/tessaly-cmd.exe" i686-w64-mingw32-objdump 5 1 "$not_on_xp" XP 3

if [ ${#problems[@]} -gt 0 ]; then
  printf 'check_imports: %s\n' "${problems[@]}" >&2
  exit 1
fi
echo "check_imports: pass: Tessaly.exe (i386, windows 6.0), Tessaly-xp.exe (i386, windows 5.01)" \
  "and tessaly-cmd.exe (i386, console 5.01) import only system DLLs and functions their Windows has"
