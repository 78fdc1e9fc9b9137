#!/usr/bin/env bash
# The manual page describes every option tarnwk-scan -h lists, and no other.
set -u
scanner=$1
page=$2
source "$(dirname "$0")/check.sh"

# "  -0, --null          end each ..." gives -0 and --null.
from_usage=$("$scanner" -h | sed -nE 's/^  (-([^ ]| [^ ])*)  .*/\1/p' |
             grep -oE -- '(^|[ ,])--?[a-z0-9][a-z0-9-]*' | tr -d ' ,' | LC_ALL=C sort)
# The tags of the OPTIONS section: ".BR \-0 \", \" \-\-null".
from_page=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$page" | awk '/^\.TP/ { getline; print }' |
            sed 's/\\-/-/g' | grep -oE -- '(^|[ "])--?[a-z0-9][a-z0-9-]*' | tr -d ' "' |
            LC_ALL=C sort)
check "the manual page describes the options of -h, and only those" "$from_usage" "$from_page"
option_lines=$("$scanner" -h | grep -c '^  -')
check "every option line of -h was read" yes "$([ "$(wc -l <<<"$from_usage")" -ge "$option_lines" ] && echo yes)"

[ "$failures" -eq 0 ]
