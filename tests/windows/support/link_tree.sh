#!/usr/bin/env bash
# Prepares a folder tree whose subfolder "link" is a Unix symbolic link to a
# folder outside it (Wine shows it as a reparse point), runs the DeleteTree
# link test on it under Wine, and checks from outside that the target
# survived.   link_tree.sh WINE_RUN... -- TEST_PROGRAM
set -u
runner=()
while [ "$1" != "--" ]; do runner+=("$1"); shift; done
shift
program=$1
dir=$(mktemp -d "${TMPDIR:-/tmp}/varnel-links.XXXXXX")
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/target" "$dir/tree/sub"
printf keep > "$dir/target/keep.txt"
ln -s "$dir/target" "$dir/tree/link"
export VARNEL_LINK_TREE="Z:$(echo "$dir" | tr / '\\')"
"${runner[@]}" "$program" --gtest_filter=FileDeletion.LinksAreRemovedNotFollowed || exit 1
[ -f "$dir/target/keep.txt" ] || { echo "the link's target was deleted"; exit 1; }
[ ! -e "$dir/tree/sub" ] || { echo "the tree's own folder is still there"; exit 1; }
