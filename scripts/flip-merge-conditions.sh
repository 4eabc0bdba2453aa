#!/usr/bin/env bash
# flip-merge-conditions.sh [--list] [SCRATCH_DIR]: shows that the merge tests catch faults. In a scratch
# copy of the tree (default /tmp/fitquill-flip), every change-bit, changed-mark and deleted-mark
# (present or absent by id) condition of the two merges is flipped in turn, one at a time; the
# merge tests are rebuilt and run, and each flip that no test caught is reported. Exits 1 when
# any flip went uncaught. With --list it only lists the flips. Run it from the repository's root.
set -euo pipefail

list_only=0
if [ "${1:-}" = --list ]; then
  list_only=1
  shift
fi
scratch=${1:-/tmp/fitquill-flip}
files=(conduit/sync/journal_merge.cpp conduit/sync/food_merge.cpp)
tests=(journal_merge_test food_merge_test conduit_run_test merge_random_test)

# Each condition: a Perl regex and its flipped form. Matches are flipped one at a time.
#  - a change bit tested in a bit word:      (... & bit) == 0  <->  != 0
#  - each value's own change bit:            the bit a value is merged by becomes 0, never set
#  - a changed mark:                         Modified()/Changed() == 0  <->  != 0
#  - changes held by a day, group, category: HasChanges(...)/HoldsChanges(...) negated
#  - present or absent by id:                ids.contains(...) negated; an id lookup's result
#                                            (found >= 0, position < 0, at >= 0 or
#                                            at < 0, !ref) inverted;
#                                            Id() == id -> !=
flips=$(
  cat <<'EOF'
& [\w:]+(?:\(\))?\) == 0	s/== 0$/!= 0/
& [\w:]+(?:\(\))?\) != 0	s/!= 0$/== 0/
(?:CUserProfile|CDayRecord|CBloodPressure|CBodyMeasurements)::(?:kChange\w+|GirthChangeBit\(girth\))	$_ = "0"
(?:Modified|Changed)\(\) == 0	s/== 0$/!= 0/
(?:Modified|Changed)\(\) != 0	s/!= 0$/== 0/
(?<![\w:!])!?(?:\w+\.)?(?:HasChanges|HoldsChanges)\((?:h|d|category)?\)(?! \{)	s/^!?/$& eq "!" ? "" : "!"/e
!?\w+\.contains\(	s/^!?/$& eq "!" ? "" : "!"/e
FindById\([^;]*\);\s*if \(\Kat >= 0	s/>= 0$/< 0/
FindById\([^;]*\);\s*if \(\Kat < 0	s/< 0$/>= 0/
\bfound >= 0	s/>= 0$/< 0/
\bposition < 0	s/< 0$/>= 0/
\(!ref\)	s/!ref/ref/
Id\(\) == id\b	s/==/!=/
EOF
)

flip() { # FILE OFFSET LENGTH CHANGE: the file with that one match changed
  FLIP_OFFSET=$2 FLIP_LENGTH=$3 FLIP_CHANGE=$4 perl -0777 -e '
    local $/; open(my $in, "<", $ARGV[0]) or die; my $all = <$in>;
    $_ = substr($all, $ENV{FLIP_OFFSET}, $ENV{FLIP_LENGTH});
    eval $ENV{FLIP_CHANGE}; die $@ if $@;
    substr($all, $ENV{FLIP_OFFSET}, $ENV{FLIP_LENGTH}) = $_;
    print $all;' "$1"
}

if [ $list_only -eq 1 ]; then
  for file in "${files[@]}"; do
    while IFS=$'\t' read -r pattern change; do
      perl -0777 -ne 'while (/'"$pattern"'/g) { print length($`), " ", length($&), "\n" }' "$file" |
        while read -r offset length; do
          line=$(($(head -c "$offset" "$file" | wc -l) + 1))
          echo "$file:$line: $(flip "$file" "$offset" "$length" "$change" | sed -n "${line}p" | sed 's/^ *//')"
        done
    done <<<"$flips"
  done
  exit 0
fi

rm -rf "$scratch"
mkdir -p "$scratch"
# The tracked files as they stand in the work tree, without any build folder.
git ls-files -z | xargs -0 -I{} cp --parents {} "$scratch"/
cd "$scratch"
git_root=$(pwd)
build="$git_root/build-flip"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFITQUILL_DESKTOP=OFF \
  -DFITQUILL_BENCH=OFF >/dev/null

run_tests() {
  cmake --build "$build" --target "${tests[@]}" >"$build/flip-build.log" 2>&1 || return 2
  local t
  for t in "${tests[@]}"; do
    timeout 300 "$build/tests/conduit/$t" >"$build/flip-$t.log" 2>&1 || return 1
  done
  return 0
}

echo "-- baseline"
if ! run_tests; then
  echo "the merge tests fail before any flip; see $build"
  exit 2
fi

total=0
uncaught=()
for file in "${files[@]}"; do
  cp "$file" "$file.orig"
  while IFS=$'\t' read -r pattern change; do
    # Byte offsets of every match of this condition in the file.
    offsets=$(perl -0777 -ne 'while (/'"$pattern"'/g) { print length($`), " ", length($&), "\n" }' \
      "$file.orig")
    while read -r offset length; do
      [ -n "$offset" ] || continue
      total=$((total + 1))
      flip "$file.orig" "$offset" "$length" "$change" >"$file"
      line=$(($(head -c "$offset" "$file.orig" | wc -l) + 1))
      where="$file:$line: $(sed -n "${line}p" "$file" | sed 's/^ *//')"
      if run_tests; then
        uncaught+=("$where")
        echo "UNCAUGHT $where"
      else
        status=$?
        if [ $status -eq 2 ]; then
          echo "no build $where"
          uncaught+=("(did not build) $where")
        else
          echo "caught   $where"
        fi
      fi
    done <<<"$offsets"
    cp "$file.orig" "$file"
  done <<<"$flips"
  rm "$file.orig"
done

echo "-- $total conditions flipped, ${#uncaught[@]} uncaught"
for where in "${uncaught[@]}"; do
  echo "   $where"
done
[ ${#uncaught[@]} -eq 0 ]
