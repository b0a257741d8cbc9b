#!/bin/sh
# Runs a test program whose tests mount file systems (a small tmpfs to fill,
# a bind mount to step over). A process that may mount (root, unless a
# container took that right away) runs it as it is. Otherwise it runs as
# root of new user and mount namespaces, where it may mount without touching
# the system's mounts, and its mounts vanish with it. Where the system allows
# neither, it runs as it is and those tests skip, saying why.
if ! unshare --mount true 2>/dev/null && unshare --user --map-root-user --mount true 2>/dev/null; then
    exec unshare --user --map-root-user --mount -- "$@"
fi
exec "$@"
