#!/bin/sh
# The quintara command. The game reads its ball pictures from the current
# folder, so it starts in its own.
cd "$(dirname "$(readlink -f "$0")")/../lib/quintara" && exec ./quintara "$@"
