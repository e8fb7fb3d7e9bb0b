# The emulated 32-bit Windows test machine: a Debian amd64 guest whose kernel runs 32-bit
# Wine, booted by QEMU's software emulation. Sourced by tools/test32.
#
# The cache folder holds the machine between runs:
#   vmlinuz, initrd.img   the guest's kernel, booted directly
#   base.qcow2            the guest's root, with a Wine prefix made once; never written by a job
#   recipe                checksum of the files that define the machine; a change rebuilds it
# Every job boots a throwaway overlay of base.qcow2 with a second disk that holds the job.

machine_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
debian_mirror=${VARNITO_DEBIAN_MIRROR:-http://deb.debian.org/debian}

# Packages of the guest beyond the minimal base. wine32 runs the 32-bit programs; the X
# libraries and fonts-wine are what Wine's windows and message boxes need; gnutls is what
# Wine's bcrypt.dll does AES with.
guest_packages=(
  linux-image-amd64 locales xvfb python3-minimal time
  wine wine32:i386 libwine:i386 fonts-wine fonts-ipafont-gothic fonts-ipafont-mincho
  libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxfixes3:i386
  libxinerama1:i386 libxcomposite1:i386 libxext6:i386 libgnutls30:i386
)

machine_recipe() {
  { printf '%s\n' "${guest_packages[@]}"
    declare -f prepare_machine
    cat "$machine_dir/guest-init" "$machine_dir/guest-env.sh" "$machine_dir/make-prefix" \
        "$machine_dir/../wine-fonts"
  } | sha256sum | cut -d' ' -f1
}

# machine_ready CACHE: true when the cached machine exists and matches the recipe.
machine_ready() {
  local cache=$1
  [ -f "$cache/base.qcow2" ] && [ -f "$cache/vmlinuz" ] && [ -f "$cache/initrd.img" ] &&
    [ "$(cat "$cache/recipe" 2>/dev/null)" = "$(machine_recipe)" ]
}

# boot_machine CACHE DISK JOBDIR LOG SECONDS: boots the kernel of CACHE with DISK (a qcow2
# image, written by the guest) as its root and JOBDIR as the job disk, waits at most SECONDS, and copies the job disk's out/ back into
# JOBDIR/out. The guest's console goes to LOG. Fails when the machine did not power off.
boot_machine() {
  local cache=$1 disk=$2 job=$3 log=$4 seconds=$5
  local image="$job.ext4"
  mkdir -p "$job/out"
  # Room for what the job writes: its own size again plus 512 MB, and what a job asks for
  # beyond that (job/room-mb: a large entry extracted in the machine).
  local mb=$(( $(du -sm "$job" | cut -f1) * 2 + 512 + $(cat "$job/room-mb" 2>/dev/null || echo 0) ))
  rm -f "$image"
  truncate -s "${mb}M" "$image"
  mkfs.ext4 -q -F -L job -d "$job" "$image"

  local status=0
  timeout --kill-after=10 "$seconds" qemu-system-x86_64 \
    -accel tcg -cpu qemu64 -smp "${VARNITO_TEST32_CPUS:-2}" -m 3072 \
    -kernel "$cache/vmlinuz" -initrd "$cache/initrd.img" \
    -append "root=/dev/vda rw console=ttyS0 panic=1 quiet init=/sbin/varnito-job-init" \
    -drive "file=$disk,if=virtio,format=qcow2,cache=unsafe" \
    -drive "file=$image,if=virtio,format=raw,cache=unsafe" \
    -display none -monitor none -serial "file:$log" -no-reboot -nic none \
    || status=$?

  rm -rf "$job/out"
  debugfs -R "rdump /out $job" "$image" >/dev/null 2>&1 || true
  rm -f "$image"
  if [ $status -ne 0 ]; then
    echo "test32: the machine did not come back (qemu status $status; 124 is the time limit)" >&2
    return 1
  fi
  if ! grep -q '^guest: powering off' "$log"; then
    echo "test32: the machine stopped before its job ended" >&2
    return 1
  fi
}

# prepare_machine CACHE: builds the machine from Debian's packages into CACHE.
prepare_machine() {
  local cache=$1
  local work="$cache/prepare"
  local root="$work/root"
  if grep -q " $work/" /proc/mounts; then
    echo "test32: $work still has mounts; remove them first" >&2
    return 1
  fi
  rm -rf --one-file-system "$work" "$cache/base.qcow2" "$cache/recipe"
  mkdir -p "$work"
  echo "test32: preparing the test machine in $cache (about 15 minutes)"

  echo "test32: debootstrap bookworm"
  debootstrap --variant=minbase bookworm "$root" "$debian_mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log" >&2; return 1; }

  # The guest boots from a virtio disk only: an initramfs with just those modules is made
  # in a fraction of the time the default one takes.
  mkdir -p "$root/etc/initramfs-tools/conf.d" "$root/usr/share/initramfs-tools/modules.d"
  echo MODULES=list >"$root/etc/initramfs-tools/conf.d/varnito-test"
  printf '%s\n' virtio_pci virtio_blk ext4 crc32c_generic \
    >"$root/usr/share/initramfs-tools/modules.d/varnito-test"

  echo "test32: installing the guest's packages"
  (
    set -e
    for fs in proc sys dev; do mount --bind "/$fs" "$root/$fs"; done
    trap 'for fs in dev sys proc; do umount -l "$root/$fs"; done' EXIT
    in_root() { chroot "$root" env DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }
    in_root dpkg --add-architecture i386
    in_root apt-get update -q
    in_root apt-get install -y -q --no-install-recommends "${guest_packages[@]}"
    in_root apt-get clean
    echo 'ja_JP.UTF-8 UTF-8' >"$root/etc/locale.gen"
    in_root locale-gen
  ) >"$work/packages.log" 2>&1 || { tail -30 "$work/packages.log" >&2; return 1; }

  install -m 755 "$machine_dir/guest-init" "$root/sbin/varnito-job-init"
  echo varnito-test >"$root/etc/hostname"
  cp "$root"/boot/vmlinuz-* "$cache/vmlinuz"
  cp "$root"/boot/initrd.img-* "$cache/initrd.img"

  echo "test32: making the root disk"
  local mb=$(( $(du -sm "$root" | cut -f1) + 2048 ))
  truncate -s "${mb}M" "$work/root.ext4"
  mkfs.ext4 -q -F -L root -d "$root" "$work/root.ext4"
  rm -rf --one-file-system "$root"
  qemu-img convert -O qcow2 "$work/root.ext4" "$work/base.qcow2"
  rm -f "$work/root.ext4"

  echo "test32: making the Wine prefix inside the machine"
  local job="$work/job"
  mkdir -p "$job"
  cp "$machine_dir/guest-env.sh" "$machine_dir/../wine-fonts" "$job/"
  cp "$machine_dir/make-prefix" "$job/run"
  boot_machine "$cache" "$work/base.qcow2" "$job" "$work/prefix.log" 1800 &&
    grep -q '^prefix: ready' "$job/out/run.log" 2>/dev/null ||
    { echo "test32: making the prefix failed; the machine's console:" >&2
      tail -60 "$work/prefix.log" >&2; return 1; }

  mv "$work/base.qcow2" "$cache/base.qcow2"
  machine_recipe >"$cache/recipe"
  rm -rf "$work"
}
