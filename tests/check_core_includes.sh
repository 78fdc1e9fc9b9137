#!/usr/bin/env bash
# The logic core builds without any toolkit or OS: above platform/, only the
# standard library and our own headers may be included.
src=$1
bad=$(grep -rnE '^\s*#\s*include\s*<' "$src" --include='*.h' --include='*.cpp' \
        | grep -v "^$src/platform/" | grep -v "^$src/cli/" \
        | grep -E '<(Q[A-Za-z]*|q[a-z]*\.h|windows\.h|unistd\.h|dirent\.h|fcntl\.h|pwd\.h|signal\.h|curl/[^>]*|sys/[^>]*|linux/[^>]*)>')
if [ -n "$bad" ]; then
    echo "OS or toolkit headers above the platform layer:"
    echo "$bad"
    exit 1
fi
echo "core includes: standard library only"
