#!/usr/bin/env bash
# The layers of src/ point one way: the entry points cli/ and desktop/ on
# top, app/ below them, the subsystems below it, common/ below those, platform/ at the
# bottom. No folder includes one above it; between subsystems only the
# listed includes are allowed (scan/ and removal/ need each other for the
# scan window and the scan run). Above platform/, only the standard library
# and our own headers are included.
src=$1
rank() {
    case $1 in
        platform) echo 0 ;; common) echo 1 ;;
        scan|removal|mainwindow|update) echo 2 ;;
        app) echo 3 ;; cli|desktop) echo 4 ;;
        *) echo 9 ;;
    esac
}
allowed_sideways=" scan>removal removal>scan mainwindow>removal mainwindow>scan update>scan "
failures=0
while IFS=: read -r file _ line; do
    from=${file#"$src"/}; from=${from%%/*}
    to=$(sed -nE 's/^\s*#\s*include\s*"([a-z]+)\/.*/\1/p' <<<"$line")
    [ -z "$to" ] || [ "$from" = "$to" ] && continue
    if [ "$(rank "$from")" -lt "$(rank "$to")" ] ||
       { [ "$(rank "$from")" -eq "$(rank "$to")" ] && [[ $allowed_sideways != *" $from>$to "* ]]; }; then
        echo "$file: $from/ includes $to/ ($line)"
        failures=$((failures + 1))
    fi
done < <(grep -rnE '^\s*#\s*include\s*"' "$src" --include='*.h' --include='*.cpp')

os=$(grep -rnE '^\s*#\s*include\s*<' "$src" --include='*.h' --include='*.cpp' \
      | grep -v "^$src/platform/" \
      | grep -E '<(Q[A-Za-z]*|q[a-z]*\.h|windows\.h|win[a-z0-9]*\.h|shellapi\.h|tlhelp32\.h|ws2tcpip\.h|io\.h|unistd\.h|dirent\.h|fcntl\.h|pwd\.h|signal\.h|curl/[^>]*|sys/[^>]*|linux/[^>]*)>')
if [ -n "$os" ]; then
    echo "OS or toolkit headers above the platform layer:"
    echo "$os"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "layers: every include points down"
[ "$failures" -eq 0 ]
