#!/bin/bash
# The bash completion of purge, sourced into a shell as bash-completion
# would: the options it offers for "purge --ty", the values for
# "purge --type ", and the drive letters of the drive table.
set -u
script=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

source "$script" || fail "the script does not load"
complete -p purge | grep -q -- '-F _purge' || fail "purge has no completion function"

# Completes the words as bash would with the cursor at the end of the last.
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _purge purge "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}

[[ $(complete_words purge --ty) == "--type " ]] || fail "purge --ty: $(complete_words purge --ty)"
[[ $(complete_words purge --type "") == "1 2 3 " ]] ||
    fail "purge --type: $(complete_words purge --type "")"
[[ $(complete_words purge --purge-f) == "--purge-files " ]] || fail "purge --purge-f"
[[ $(complete_words purge --qu) == "--quiet " ]] || fail "purge --qu: $(complete_words purge --qu)"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/docs" && touch "$folder/docs/a.doc" "$folder/ops.kzs" "$folder/notes.txt"
cd "$folder"
[[ $(complete_words purge --purge-files docs/) == "docs/a.doc " ]] ||
    fail "a PATH: $(complete_words purge --purge-files docs/)"
[[ $(complete_words purge --list o) == "ops.kzs " ]] || fail "an operation file"
KESTRANE_DRIVES="C=$folder;D=/mnt" 
export KESTRANE_DRIVES
[[ $(complete_words purge --wipe "") == "C: D: " ]] || fail "drives: $(complete_words purge --wipe "")"
echo "bash completion: ok"
