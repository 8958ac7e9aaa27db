#!/bin/sh
# Runs one command in a throwaway copy of this machine, so that a program
# that installs as root can be tested without touching the host.
#
#   sandbox.sh [OPTIONS] -- COMMAND [ARG...]
#   sandbox.sh --serve --out DIR [OPTIONS] -- COMMAND [ARG...]
#   sandbox.sh --check
#
# The sandbox is an overlay over the host's root file system in private
# mount and PID namespaces: the command sees the host's files, but whatever
# it writes lands in the overlay's upper layer, and `ps` shows only the
# sandbox's own processes. /tmp starts empty, /run as on a host just
# started (root's, mode 755, with an empty /run/lock of mode 1777, so that
# nothing of the host's /run, its locks among them, shows through), /dev
# holds only the usual
# character devices and a private pseudo-terminal instance, /proc is the
# sandbox's own. The environment is reduced to PATH, HOME, TERM, LANG, the
# sanitizer options and what --env adds.
#
# Options:
#   --out DIR        results go here (made if missing; earlier results in it
#                    are replaced). Default: a new directory under $TMPDIR.
#   --medium DIR     copy DIR's contents to /media; the command starts there
#   --copy SRC:DEST  copy a host file or directory to DEST (repeatable)
#   --setup CMDS     shell commands run as root in the sandbox before the
#                    command; what they change is the starting state, not
#                    part of the results (repeatable, run in order; the
#                    first that fails stops the run with status 125)
#   --cwd DIR        directory the command starts in (default /media with
#                    --medium, else /)
#   --env NAME=VAL   add to the command's environment (repeatable)
#   --stdin FILE     standard input of the command (default /dev/null)
#   --timeout SECS   the command is killed after SECS seconds (default 60);
#                    its status is then 124 (or 137 if it ignored SIGTERM)
#   --serve          a sandbox that lives until it is ended (a server run in
#                    the foreground): sandbox.sh becomes the sandbox's leader
#                    (it keeps its process id), the command's output goes to
#                    stdout and stderr in --out as it runs, and killing the
#                    leader (SIGKILL) ends every process of the sandbox and,
#                    with its mount namespace, every mount; the sandbox's
#                    layers lie in --out/state, which is then empty. Nothing
#                    is collected; --timeout still bounds the command.
#   --check          exit 0 when a sandbox can be made here, else print why
#                    not and exit 125
#
# Results in the --out directory:
#   stdout, stderr   what the command printed
#   status           its exit status
#   upper/           every file the command created or changed, at its path;
#                    a deleted path is a character device 0/0 (a whiteout)
#   changes          one line per changed path, sorted: "A /new", "M /changed"
#                    (it existed before), "D /deleted"; directories are
#                    listed only when they are new
#   setup.log        output of the --setup commands
#
# The command's output is also printed (stdout, then stderr) and its status
# is the exit status of sandbox.sh. Status 125 means that the sandbox could
# not be made; the reason is on standard error, starting with "sandbox: ".
set -u

me=$0
unavailable() {
  echo "sandbox: $*" >&2
  exit 125
}

if [ "${1-}" = "__inner" ]; then
  shift
  inner=1
else
  inner=0
fi

# ---------------------------------------------------------------------------
# Inside the namespaces: build the layers, run, collect. Parameters come in
# SBX_* variables; the command is "$@".
if [ "$inner" = 1 ]; then
  S=$SBX_STATE
  OUT=$SBX_OUT
  fail() {
    echo "sandbox: $*" >&2
    exit 125
  }
  [ "$$" = 1 ] || fail "not the first process of a new PID namespace"
  mount -t tmpfs -o mode=755 sandbox "$S" || fail "cannot mount a tmpfs (are mount namespaces allowed?)"
  mkdir "$S/base" "$S/basework" "$S/upper" "$S/work" "$S/setup" "$S/root" "$S/before" || fail "cannot make the layer directories"

  # The base layer holds the starting state. Whiteouts hide the host's
  # /tmp and /run; the directories made over them through the overlay are
  # opaque, so the sandbox's start empty, as the tmpfs a host mounts there
  # at boot does (and set-up commands can still put things in them).
  mknod "$S/base/tmp" c 0 0 && mknod "$S/base/run" c 0 0 || fail "cannot make a whiteout"
  mount -t overlay sandbox -o "lowerdir=/,upperdir=$S/base,workdir=$S/basework" "$S/setup" ||
    fail "cannot mount an overlay file system over /"
  mkdir -m 1777 "$S/setup/tmp" && chmod 1777 "$S/setup/tmp" || fail "cannot make /tmp"
  mkdir -m 755 "$S/setup/run" && mkdir -m 1777 "$S/setup/run/lock" && chmod 755 "$S/setup/run" &&
    chmod 1777 "$S/setup/run/lock" || fail "cannot make /run"

  if [ -n "$SBX_MEDIUM" ]; then
    mkdir -p "$S/setup/media" && cp -a "$SBX_MEDIUM/." "$S/setup/media/" || fail "cannot copy the medium $SBX_MEDIUM"
  fi
  # Copies, one SRC:DEST per line.
  if [ -n "$SBX_COPIES" ]; then
    printf '%s\n' "$SBX_COPIES" | while IFS= read -r pair; do
      [ -n "$pair" ] || continue
      src=${pair%%:*}
      dest=${pair#*:}
      mkdir -p "$S/setup$(dirname "$dest")" && cp -a "$src" "$S/setup$dest" || exit 1
    done || fail "cannot copy into the sandbox: $SBX_COPIES"
  fi

  # /dev: a few devices bound from the host, and a private pty instance.
  mount_dev() {
    root=$1
    mount -t tmpfs -o mode=755,nosuid sandbox-dev "$root/dev" || return 1
    for d in null zero full random urandom tty; do
      touch "$root/dev/$d" && mount --bind "/dev/$d" "$root/dev/$d" || return 1
    done
    mkdir "$root/dev/pts" "$root/dev/shm" &&
      mount -t devpts -o newinstance,ptmxmode=0666,mode=620 devpts "$root/dev/pts" &&
      ln -s pts/ptmx "$root/dev/ptmx" && ln -s /proc/self/fd "$root/dev/fd" &&
      ln -s /proc/self/fd/0 "$root/dev/stdin" && ln -s /proc/self/fd/1 "$root/dev/stdout" &&
      ln -s /proc/self/fd/2 "$root/dev/stderr"
  }
  mount_system() {
    mount -t proc proc "$1/proc" && mount_dev "$1"
  }
  # in_root ROOT DIR COMMAND...: runs COMMAND chrooted to ROOT, starting in
  # DIR, bounded by the timeout, in a fixed environment plus the caller's.
  in_root() {
    (
      root=$1
      dir=$2
      shift 2
      entries="PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
HOME=/root
TERM=${TERM:-dumb}
LANG=${SBX_LANG:-C}"
      [ -n "${ASAN_OPTIONS-}" ] && entries="$entries
ASAN_OPTIONS=$ASAN_OPTIONS"
      [ -n "${UBSAN_OPTIONS-}" ] && entries="$entries
UBSAN_OPTIONS=$UBSAN_OPTIONS"
      [ -n "$SBX_ENV" ] && entries="$entries
$SBX_ENV"
      set -f
      IFS='
'
      # One environment entry per line.
      # shellcheck disable=SC2086
      exec env -i $entries chroot "$root" /bin/sh -c 'cd "$1" || exit 126; shift; exec "$@"' \
        sandbox "$dir" timeout -k 5 "$SBX_TIMEOUT" "$@"
    )
  }

  : >"$OUT/setup.log"
  if [ -n "$SBX_SETUP" ]; then
    mount_system "$S/setup" || fail "cannot mount /proc and /dev for the setup commands"
    in_root "$S/setup" / /bin/sh -ec "$SBX_SETUP" </dev/null >>"$OUT/setup.log" 2>&1 ||
      fail "the setup commands failed: $(tail -n 5 "$OUT/setup.log")"
    kill -9 -1 2>/dev/null  # nothing started by the setup outlives it
    umount -R "$S/setup/dev" "$S/setup/proc"
  fi
  umount "$S/setup" || fail "cannot unmount the setup layer"

  mount -t overlay sandbox -o "lowerdir=$S/base:/,upperdir=$S/upper,workdir=$S/work" "$S/root" ||
    fail "cannot mount the sandbox overlay"
  mount -t overlay sandbox -o "lowerdir=$S/base:/" "$S/before" || fail "cannot mount the starting state"
  mount_system "$S/root" || fail "cannot mount /proc and /dev in the sandbox"

  # Everything is ready: from here on a failure is the command's own.
  set +e
  in_root "$S/root" "$SBX_CWD" "$@" <"$SBX_STDIN" >"$OUT/stdout" 2>"$OUT/stderr"
  echo $? >"$OUT/status"

  # Stop whatever the command left running. This shell is process 1 of the
  # sandbox's PID namespace (checked at the start), so -1 reaches only the
  # sandbox's processes.
  [ "$$" = 1 ] && kill -9 -1 2>/dev/null
  umount -R "$S/root/dev" "$S/root/proc" 2>/dev/null

  # What changed, and whether it was there at the start.
  cp -a "$S/upper/." "$OUT/upper/"
  (
    cd "$S/upper" || exit 1
    find . -mindepth 1 | while IFS= read -r p; do
      rel=${p#.}
      if [ -c "$p" ] && [ "$(stat -c %t:%T "$p")" = 0:0 ]; then
        echo "D $rel"
      elif [ -e "$S/before$rel" ] || [ -L "$S/before$rel" ]; then
        [ -d "$p" ] && [ ! -L "$p" ] || echo "M $rel"
      else
        echo "A $rel"
      fi
    done | LC_ALL=C sort
  ) >"$OUT/changes"
  exit 0
fi

# ---------------------------------------------------------------------------
# Outside: parse the options, check the host, start the namespaces.
out=""
medium=""
copies=""
setup=""
cwd=""
envs=""
stdin=/dev/null
timeout_secs=60
check=0
serve=0
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$2; shift 2 ;;
    --medium) medium=$2; shift 2 ;;
    --copy) copies="$copies$2
"; shift 2 ;;
    --setup) setup="${setup:+$setup
}$2"; shift 2 ;;
    --cwd) cwd=$2; shift 2 ;;
    --env) envs="${envs:+$envs
}$2"; shift 2 ;;
    --stdin) stdin=$2; shift 2 ;;
    --timeout) timeout_secs=$2; shift 2 ;;
    --check) check=1; shift ;;
    --serve) serve=1; shift ;;
    --) shift; break ;;
    -h|--help) sed -n '2,/^set -u/p' "$me" | sed -e '$d' -e 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "sandbox: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done

[ "$(id -u)" = 0 ] || unavailable "needs root (mount namespaces and overlayfs), running as $(id -un)"
for tool in unshare chroot timeout mount umount mknod env find stat; do
  command -v "$tool" >/dev/null 2>&1 || unavailable "the tool $tool is missing"
done
grep -qw overlay /proc/filesystems 2>/dev/null || modprobe overlay 2>/dev/null ||
  unavailable "the kernel has no overlay file system"

if [ "$check" = 1 ]; then
  set -- true
  out=$(mktemp -d "${TMPDIR:-/tmp}/setup-sbx-check.XXXXXX") || unavailable "cannot make a directory in ${TMPDIR:-/tmp}"
  trap 'rm -rf "$out"' EXIT
fi
[ $# -gt 0 ] || { echo "sandbox: no command given (see --help)" >&2; exit 2; }
[ -z "$medium" ] || [ -d "$medium" ] || { echo "sandbox: no medium directory $medium" >&2; exit 2; }
[ -r "$stdin" ] || { echo "sandbox: cannot read $stdin" >&2; exit 2; }
case $medium in /*|"") ;; *) medium=$(pwd)/$medium ;; esac
case $stdin in /*) ;; *) stdin=$(pwd)/$stdin ;; esac
if [ -z "$out" ]; then
  out=$(mktemp -d "${TMPDIR:-/tmp}/setup-sbx-out.XXXXXX") || exit 125
  echo "sandbox: results in $out" >&2
fi
mkdir -p "$out" || exit 2
out=$(cd "$out" && pwd)
rm -rf "$out/upper" "$out/stdout" "$out/stderr" "$out/status" "$out/changes" "$out/setup.log"
mkdir "$out/upper"
[ -n "$cwd" ] || { [ -n "$medium" ] && cwd=/media || cwd=/; }

export SBX_OUT="$out" SBX_MEDIUM="$medium" SBX_COPIES="$copies" SBX_SETUP="$setup" \
  SBX_CWD="$cwd" SBX_ENV="$envs" SBX_STDIN="$stdin" SBX_TIMEOUT="$timeout_secs" SBX_LANG="${LANG:-C}"
if [ "$serve" = 1 ]; then
  # unshare takes this process's id; its child, the first process of the
  # new PID namespace, is killed when it goes (--kill-child), and the
  # kernel then kills the rest of the namespace.
  rm -rf "$out/state" && mkdir "$out/state" || unavailable "cannot make $out/state"
  export SBX_STATE="$out/state"
  exec unshare --mount --pid --fork --kill-child --propagation private -- \
    /bin/sh "$me" __inner "$@"
fi
state=$(mktemp -d "${TMPDIR:-/tmp}/setup-sbx.XXXXXX") || unavailable "cannot make a directory in ${TMPDIR:-/tmp}"
SBX_STATE=$state unshare --mount --pid --fork --kill-child --propagation private -- /bin/sh "$me" __inner "$@"
rc=$?
rmdir "$state" 2>/dev/null
[ "$rc" = 0 ] || { [ "$rc" = 125 ] && exit 125; unavailable "the sandbox ended with status $rc"; }
[ "$check" = 1 ] && { [ "$(cat "$out/status")" = 0 ] || unavailable "a trivial command failed in the sandbox: $(cat "$out/stderr")"; exit 0; }
cat "$out/stdout"
cat "$out/stderr" >&2
exit "$(cat "$out/status")"
