# shellcheck shell=bash
# Fresh Debian roots for trying the project as a new user would: made once per release with
# debootstrap (minbase) from the archive this machine's apt sources name, kept pristine in a cache
# folder outside the clone, and copied for each use. Sourced by test-on-debian.sh and
# check-package.sh; every function expects to run as root.
#
# The cache folder is AVATELLO_DEBIAN_CACHE, by default /var/cache/avatello:
#   debian-N/pristine   the root as debootstrap made it, with apt sources; never changed after
#   debian-N/suite      the root the test command runs in (test-on-debian.sh)
#   debian-N/lock       taken while a script works in debian-N

debian_cache=${AVATELLO_DEBIAN_CACHE:-/var/cache/avatello}

# The releases the project supports, by number and by code name: the one place that knows them.
debian_codename() {
    case "$1" in
    12 | bookworm) echo bookworm ;;
    13 | trixie) echo trixie ;;
    *) return 1 ;;
    esac
}

# The release this system runs, as a number.
debian_this_release() {
    local VERSION_ID=""
    # shellcheck source=/dev/null
    . /etc/os-release
    echo "${VERSION_ID%%.*}"
}

# Prints "MIRROR SECURITY": the Debian archive and its security archive as this machine's apt
# sources name them (SECURITY is "-" when the sources have none).
debian_archive() {
    local targets format
    # apt's own field names, not shell expansions
    # shellcheck disable=SC2016
    format='$(REPO_URI) $(LABEL)'
    targets=$(apt-get indextargets --format "$format" 2>/dev/null | sort -u)
    if [ -z "$targets" ]; then
        # The labels come from the downloaded Release files.
        apt-get update -qq >/dev/null
        targets=$(apt-get indextargets --format "$format" | sort -u)
    fi
    awk '$2 == "Debian" { mirror = $1 }
         $2 == "Debian-Security" { security = $1 }
         END {
             if (mirror == "") exit 1
             print mirror, (security == "" ? "-" : security)
         }' <<<"$targets"
}

# Writes the apt sources of a root of release CODENAME: main, its updates and its security
# updates, from the archives this machine uses.
debian_write_sources() {
    local root=$1 codename=$2 mirror security
    read -r mirror security < <(debian_archive) || {
        echo "No Debian archive in this machine's apt sources" >&2
        return 1
    }
    rm -f "$root/etc/apt/sources.list"
    {
        printf 'Types: deb\nURIs: %s\nSuites: %s %s-updates\nComponents: main\n' \
            "$mirror" "$codename" "$codename"
        if [ "$security" != "-" ]; then
            printf '\nTypes: deb\nURIs: %s\nSuites: %s-security\nComponents: main\n' \
                "$security" "$codename"
        fi
    } >"$root/etc/apt/sources.list.d/debian.sources"
}

# Takes the lock of release N's cache folder for as long as the calling script runs.
debian_lock() {
    local folder=$debian_cache/debian-$1
    mkdir -p "$folder"
    exec {debian_lock_fd}>"$folder/lock"
    if ! flock -n "$debian_lock_fd"; then
        echo "Waiting for another run that uses $folder..." >&2
        flock "$debian_lock_fd"
    fi
}

# Prints the pristine root of release N, made first if the cache has none.
debian_pristine_root() {
    local release=$1 codename root mirror security
    codename=$(debian_codename "$release")
    root=$debian_cache/debian-$release/pristine
    if [ -f "$root/etc/apt/sources.list.d/debian.sources" ]; then
        echo "$root"
        return
    fi
    if ! command -v debootstrap >/dev/null; then
        echo "Installing debootstrap" >&2
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >&2
    fi
    read -r mirror security < <(debian_archive)
    echo "Making a Debian $release root with debootstrap from $mirror (a few minutes)" >&2
    debian_remove_root "$root.new"
    # A root that is not finished stays under another name, so a broken run is never taken for
    # a cache hit.
    debootstrap --variant=minbase "$codename" "$root.new" "$mirror" >"$root.log" 2>&1 || {
        tail -20 "$root.log" >&2
        echo "debootstrap failed; its log is $root.log" >&2
        return 1
    }
    debian_write_sources "$root.new" "$codename"
    # Services of installed packages are not started inside the root.
    printf '#!/bin/sh\nexit 101\n' >"$root.new/usr/sbin/policy-rc.d"
    chmod 755 "$root.new/usr/sbin/policy-rc.d"
    mv "$root.new" "$root"
    echo "$root"
}

# Makes COPY a copy of the pristine root of release N.
debian_copy_root() {
    local pristine
    pristine=$(debian_pristine_root "$1")
    debian_remove_root "$2"
    debian_remove_root "$2.new"
    cp -a --reflink=auto "$pristine" "$2.new"
    mv "$2.new" "$2"
}

# Mounts what programs inside ROOT need: /proc, /sys, /dev with its pseudo-terminals, a private
# /dev/shm and a private /tmp; and the machine's name server settings.
debian_mount() {
    local root=$1
    mount -t proc proc "$root/proc"
    mount --bind /sys "$root/sys"
    mount --bind /dev "$root/dev"
    mount --bind /dev/pts "$root/dev/pts"
    mkdir -p "$root/dev/shm"
    mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
    mount -t tmpfs -o mode=1777 tmp "$root/tmp"
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
}

# Ends every process running inside ROOT and unmounts everything mounted in it, deepest first.
# Safe to call more than once, and when nothing is mounted.
debian_unmount() {
    local root proc target
    root=$(realpath -m "$1")
    for proc in /proc/[0-9]*; do
        case "$(readlink "$proc/root" 2>/dev/null)" in
        "$root" | "$root"/*) kill -KILL "${proc#/proc/}" 2>/dev/null || true ;;
        esac
    done
    while read -r target; do
        umount "$target" 2>/dev/null || umount -l "$target"
    done < <(debian_mounts_under "$root" | sort -r)
}

# The mount points at or below FOLDER.
debian_mounts_under() {
    awk -v folder="$1" '$2 == folder || index($2, folder "/") == 1 { print $2 }' /proc/self/mounts
}

# Removes a root, refusing while anything is mounted in it.
debian_remove_root() {
    local root
    root=$(realpath -m "$1")
    [ -e "$root" ] || return 0
    if [ -n "$(debian_mounts_under "$root")" ]; then
        echo "Not removing $root: something is still mounted in it" >&2
        return 1
    fi
    rm -rf --one-file-system "$root"
}

# Runs a command inside ROOT as root, with a clean environment and no input. The caller waits
# for it rather than running it in the foreground, so that a signal runs the caller's traps (which
# end the command and unmount) at once instead of once the command has finished.
debian_run() {
    local root=$1
    shift
    # HOME is the root user's home inside the Debian root, where the checks keep their files.
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb CI="${CI:-}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive "$@" </dev/null &
    wait $!
}
