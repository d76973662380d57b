#!/usr/bin/env bash
# Runs one command inside a virtual machine, for machines whose kernel refuses 32-bit executables:
# the guest boots Debian's own kernel under QEMU (KVM where this machine offers it, else plain
# emulation), mounts this machine's root over virtio-9p and runs the command there as root, in
# the same folder and with the same environment, so that it uses this machine's own 32-bit Wine,
# tools and build tree. The command's output is printed as it comes; its exit status becomes this
# script's. Screenshots and test reports land in the build tree directly, through the shared root.
#
# The kernel package is downloaded once into build/vm/ and unpacked there, never installed.
# Exit status: the command's, or 1 when the guest did not boot within TESSALY_VM_BOOT_TIMEOUT
# seconds (default 120), did not finish within TESSALY_VM_TIMEOUT seconds (default 3600) or ended
# without a status; the message says which.
# Settings: TESSALY_VM_MEMORY (MiB, default 4096); TESSALY_VM_ACCEL=kvm tries KVM instead of plain
# emulation (tcg). Plain emulation is the default: it needs nothing of this machine's processor,
# whereas a nested /dev/kvm may be offered and still fail (seen: QEMU aborting on an MSR write, or
# a guest that never printed a line).
# Usage: scripts/vm.sh COMMAND [ARGS...]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
[ $# -gt 0 ] || lib_fail "usage: scripts/vm.sh COMMAND [ARGS...]"

VM_DIR=$TESSALY_ROOT/build/vm
# Loaded in this order by the guest's init: virtio-9p for the shared folders, then the bridge and
# veth for the tests' simulated LAN hosts.
VM_MODULES=(virtio_ring virtio virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci 9pnet
  9pnet_virtio netfs fscache 9p llc stp bridge veth)

# The kernel package that Debian's linux-image-amd64 names in this machine's package lists.
vm_kernel_package() {
  apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-/ {print $2; exit}'
}

# Downloads and unpacks that kernel package, once. Package lists that name none, or a version the
# archive no longer has, are brought up to date and the download tried once more.
vm_fetch_kernel() {
  local kernel_dir=$VM_DIR/kernel package download
  if compgen -G "$kernel_dir/boot/vmlinuz-*" >/dev/null; then return 0; fi
  download=$(mktemp -d "$VM_DIR/download.XXXXXX")
  package=$(vm_kernel_package)
  if [ -z "$package" ] || ! (cd "$download" && apt-get download "$package" >/dev/null 2>&1); then
    apt-get update -qq >/dev/null 2>&1 || true
    package=$(vm_kernel_package)
    [ -n "$package" ] ||
      lib_fail "Debian's package lists name no kernel (apt-cache depends linux-image-amd64)"
    (cd "$download" && apt-get download "$package" >/dev/null 2>&1) ||
      lib_fail "could not download the kernel package $package"
  fi
  rm -rf "$kernel_dir.new"
  dpkg-deb -x "$download"/*.deb "$kernel_dir.new" || lib_fail "could not unpack $package"
  rm -rf "$download" "$kernel_dir"
  mv "$kernel_dir.new" "$kernel_dir"
}

# Makes the initramfs of the kernel: a static busybox, the guest's init and the modules it loads.
vm_make_initramfs() {
  local initramfs=$1 tree modules_dir module file
  if [ -f "$initramfs" ] && [ "$initramfs" -nt "$TESSALY_ROOT/scripts/vm_init.sh" ] &&
    [ "$initramfs" -nt "$0" ]; then
    return 0
  fi
  [ -x /bin/busybox ] && /bin/busybox --list | grep -x cpio >/dev/null ||
    lib_fail "a static busybox is missing (Debian's busybox-static; make setup installs it)"
  tree=$(mktemp -d "$VM_DIR/initramfs.XXXXXX")
  mkdir -p "$tree/bin" "$tree/modules.d"
  cp /bin/busybox "$tree/bin/busybox"
  cp "$TESSALY_ROOT/scripts/vm_init.sh" "$tree/init"
  chmod 755 "$tree/init"
  modules_dir=$(echo "$VM_DIR"/kernel/lib/modules/*/kernel)
  for module in "${VM_MODULES[@]}"; do
    file=$(find "$modules_dir" -name "$module.ko" -print -quit)
    [ -n "$file" ] || lib_fail "the kernel has no module $module"
    cp "$file" "$tree/modules.d/"
  done
  printf '%s\n' "${VM_MODULES[@]}" >"$tree/modules"
  (cd "$tree" && find . | /bin/busybox cpio -o -H newc 2>/dev/null | gzip -1) >"$initramfs.new"
  mv "$initramfs.new" "$initramfs"
  rm -rf "$tree"
}

# Writes the guest's command file: this folder, this environment (less what belongs to this
# machine's session alone: its display, its terminal), then the command.
vm_write_command() {
  local file=$1/command name
  shift
  {
    echo "cd $(printf '%q' "$PWD") || exit 1"
    while IFS= read -r name; do
      case $name in
      DISPLAY | XAUTHORITY | WAYLAND_DISPLAY | SHLVL | PWD | OLDPWD | _ | TMPDIR | SSH_* | XDG_RUNTIME_DIR) ;;
      *) printf 'export %s=%q\n' "$name" "${!name}" ;;
      esac
    done < <(compgen -e)
    echo "export TESSALY_IN_VM=1"
    printf 'exec'
    printf ' %q' "$@"
    echo
  } >"$file"
}

command -v qemu-system-x86_64 >/dev/null ||
  lib_fail "QEMU is missing (Debian's qemu-system-x86; make setup installs it)"
mkdir -p "$VM_DIR"
vm_fetch_kernel
kernel=$(echo "$VM_DIR"/kernel/boot/vmlinuz-*)
initramfs=$VM_DIR/initramfs-${kernel##*/vmlinuz-}.gz
vm_make_initramfs "$initramfs"
trap cleanup EXIT

run=$(mktemp -d "$VM_DIR/run.XXXXXX")
trap 'cleanup; rm -rf "$run"' EXIT
vm_write_command "$run" "$@"
echo "$TESSALY_ROOT" >"$run/tree" # the guest keeps it visible over its own /tmp and /run
: >"$run/output"

accel=${TESSALY_VM_ACCEL:-tcg}
accel_options=(-accel tcg,thread=multi)
[ "$accel" = kvm ] && accel_options=(-accel kvm)
# -cpu max makes the 6.1 kernel oops on an iret in 32-bit user code under plain emulation; this
# model does not, and has what Wine and the programs use.
qemu-system-x86_64 "${accel_options[@]}" -cpu qemu64,+ssse3,+sse4.1,+sse4.2,+popcnt \
  -smp "$(nproc)" -m "${TESSALY_VM_MEMORY:-4096}" -nodefaults -no-user-config -display none \
  -vga none -nic none -no-reboot -serial "file:$run/console.log" \
  -kernel "$kernel" -initrd "$initramfs" \
  -append "console=ttyS0 loglevel=4 panic=-1 rdinit=/init" \
  -virtfs "local,path=/,mount_tag=host,security_model=none,multidevs=remap" \
  -virtfs "local,path=$run,mount_tag=run,security_model=none" &
qemu=$!
track_pid "$qemu"
tail -n +1 -f --pid="$qemu" "$run/output" &
track_pid $!

# Stops the guest and fails with the reason and the end of its console.
vm_stop() {
  kill "$qemu" 2>/dev/null
  wait "$qemu" 2>/dev/null || true
  echo "${0##*/}: $*; the end of its console:" >&2
  tail -n 30 "$run/console.log" >&2
  exit 1
}

# Waits for the guest to end, within the time bounds; a guest that hangs is stopped. The guest
# has booted once its init has written the clock sources.
boot_limit=${TESSALY_VM_BOOT_TIMEOUT:-120}
limit=${TESSALY_VM_TIMEOUT:-3600}
started=$SECONDS
while kill -0 "$qemu" 2>/dev/null; do
  elapsed=$((SECONDS - started))
  [ -e "$run/clocksource" ] || [ "$elapsed" -lt "$boot_limit" ] ||
    vm_stop "the virtual machine did not boot within $boot_limit s and was stopped"
  [ "$elapsed" -lt "$limit" ] ||
    vm_stop "the virtual machine did not finish within $limit s and was stopped"
  sleep 1
done
wait "$qemu" || true
sleep 0.2 # the last lines of output reach tail
[ -s "$run/status" ] || vm_stop "the virtual machine ended without running its command to the end"

mode="without KVM"
grep -q kvm-clock "$run/clocksource" 2>/dev/null && mode="with KVM"
echo "${0##*/}: guest ($accel, QEMU $mode) ran for $((SECONDS - started)) s" >&2
exit "$(cat "$run/status")"
