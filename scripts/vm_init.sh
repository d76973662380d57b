#!/bin/busybox sh
# The first process of the virtual machine of scripts/vm.sh, run from its small initramfs by
# busybox. Loads the modules for virtio-9p and for the tests' private networks, mounts the host's
# root (tag "host") and the run's own folder (tag "run"), gives the guest its own /proc, /sys,
# /dev, /tmp, /run and /dev/shm over the host's (the project's tree stays visible, also where it
# lies under one of them), runs the run's command file there as root with its output in the run
# folder, writes its exit status beside it and powers the machine off. Anything that goes wrong
# before the command runs is written to the console (the run's console.log) and ends the machine
# without a status, which vm.sh reports as a failure.
export PATH=/bin
busybox mkdir -p /proc /sys /dev /host
busybox mount -t proc proc /proc
busybox mount -t devtmpfs devtmpfs /dev
busybox --install -s /bin

stop() {
  echo "tessaly-vm: $*"
  sync
  poweroff -f
}

for module in $(cat /modules); do
  insmod "/modules.d/$module.ko" || stop "could not load the module $module"
done

nine_p="trans=virtio,version=9p2000.L,msize=262144"
mount -t 9p -o "$nine_p,cache=loose" host /host || stop "could not mount the host's root"
mkdir -p /run-folder
mount -t 9p -o "$nine_p" run /run-folder || stop "could not mount the run's folder"
# The project's tree, which the guest's own /tmp or /run would hide where it lies under them: it
# is kept aside here and put back in its place afterwards.
tree=$(cat /run-folder/tree)
case $tree/ in
/tmp/* | /run/* | /dev/shm/*)
  mkdir -p /tree
  mount -o bind "/host$tree" /tree || stop "could not keep $tree"
  ;;
*) tree="" ;;
esac
for dir in proc sys dev dev/pts dev/shm tmp run; do
  [ -d "/host/$dir" ] || mkdir -p "/host/$dir"
done
mount -t proc proc /host/proc
mount -t sysfs sysfs /host/sys
mount -t devtmpfs devtmpfs /host/dev
# What udev would add: bash's process substitution reads /dev/fd/N.
ln -s /proc/self/fd /host/dev/fd
ln -s /proc/self/fd/0 /host/dev/stdin
ln -s /proc/self/fd/1 /host/dev/stdout
ln -s /proc/self/fd/2 /host/dev/stderr
mkdir -p /host/dev/pts /host/dev/shm
mount -t devpts -o gid=5,mode=620,ptmxmode=666 devpts /host/dev/pts
mount -t tmpfs -o mode=1777 tmpfs /host/dev/shm
mount -t tmpfs -o mode=1777 tmpfs /host/tmp
mount -t tmpfs -o mode=755 tmpfs /host/run
if [ -n "$tree" ]; then
  mkdir -p "/host$tree"
  mount -o bind /tree "/host$tree" || stop "could not put $tree back"
fi
mkdir -p /host/run/tessaly-vm
mount -o bind /run-folder /host/run/tessaly-vm
hostname -F /host/etc/hostname 2>/dev/null
ip link set lo up 2>/dev/null

# The host reads which accelerator ran from here: a KVM guest's clock source list has kvm-clock.
cat /host/sys/devices/system/clocksource/clocksource0/available_clocksource \
  >/host/run/tessaly-vm/clocksource
chroot /host /bin/bash /run/tessaly-vm/command >/host/run/tessaly-vm/output 2>&1 </dev/null
echo "$?" >/host/run/tessaly-vm/status.new
mv /host/run/tessaly-vm/status.new /host/run/tessaly-vm/status
sync
poweroff -f
