#!/usr/bin/env bash
# The meal log of a demonstration journal whose foods come from the default food database,
# printed to PDF by fitquill-desktop and read back with pdftotext: no entry is named only with
# words of preparation, state, cut or packing (the sections of the naming table):
#   demo_meal_names_test.sh PROGRAM FITQUILL_TOOL NAMING_TABLE
set -u
program=$1
tool=$2
table=$3

source "$(dirname "$0")/../../desktop/real_program_world.sh"
if ! command -v pdftotext >/dev/null 2>&1; then
    echo "pdftotext (poppler-utils) is not installed: skipped"
    exit 77
fi
export LC_ALL=C QT_QPA_PLATFORM=offscreen

# Ann has no food database of her own, so the demo draws from the default one.
"$tool" demo --user Ann --days 30 >/dev/null || { echo "the demo journal was not made"; exit 1; }
pdf="$world/meals.pdf"
"$program" --print-pdf "$pdf" --user Ann --reports meals >/dev/null ||
    { echo "the meal log was not printed"; exit 1; }
pdftotext -layout "$pdf" "$world/meals.txt" || { echo "pdftotext cannot read the PDF"; exit 1; }

# The descriptive words, one a line, lower case.
awk '/^\[(preparation|state|cut|packing)\]/ { on = 1; next } /^\[/ { on = 0 }
     on && !/^#/ { for (i = 1; i <= NF; ++i) print tolower($i) }' "$table" | sort -u \
    >"$world/words.txt"
[ -s "$world/words.txt" ] || { echo "no descriptive words in $table"; exit 1; }

# An entry is the line above its serving line ("1.00 cup   137 Cal ...").
awk 'NF && $0 !~ /^ *[0-9.]+ .* Cal / { name = $0 }
     /^ *[0-9.]+ .* Cal / && name != "" { print name; name = "" }' "$world/meals.txt" |
    sed 's/^ *//; s/ *$//' >"$world/entries.txt"
entries=$(wc -l <"$world/entries.txt")
echo "$entries meal log entries"
[ "$entries" -ge 100 ] || { echo "too few entries read back"; exit 1; }

bare=0
while IFS= read -r name; do
    food=0
    # Words as the check splits them; joining words and numbers say nothing either way.
    for word in $(tr 'A-Z' 'a-z' <<<"$name" | tr -c "a-z0-9'&-" ' '); do
        case $word in
        and | or | with | w | wo | o | in | of | '&' | *[0-9]*) continue ;;
        esac
        singular=${word%s}
        if ! grep -qxF -- "$word" "$world/words.txt" &&
            ! grep -qxF -- "$singular" "$world/words.txt"; then
            food=1
        fi
    done
    if [ "$food" -eq 0 ]; then
        echo "FAIL: '$name' holds only preparation words"
        bare=$((bare + 1))
    fi
done <"$world/entries.txt"
sort "$world/entries.txt" | uniq -c | sort -rn | head -5
[ "$bare" -eq 0 ]
