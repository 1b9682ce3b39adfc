#!/usr/bin/env bash
# Completes quillmere-rename command lines with the bash completion and
# checks the answers; checks that the bash, zsh and fish completions and the
# manual page know every option that --help lists, and that the zsh and fish
# files parse when those shells are installed.
# Usage: check_completions.sh QUILLMERE_RENAME COMPLETIONS_FOLDER MANUAL_PAGE
set -u
program=$(realpath "$1")
completions=$(realpath "$2")
manual=$(realpath "$3")
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# shellcheck source=/dev/null
source "$completions/quillmere-rename.bash" || { echo "FAIL: cannot source the bash completion"; exit 1; }

# complete WORD... : the words as typed, quotes and backslashes included,
# which is how bash hands them to a completion in COMP_WORDS; the last word
# is the one being completed. Prints the answers sorted, one a line.
complete_line() {
    COMP_WORDS=(quillmere-rename "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quillmere_rename
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | sed '/^$/d'
}

expect() {
    local want=$1
    shift
    local got
    got=$(complete_line "$@" | tr '\n' ' ')
    [[ $got == "$want" ]] || fail "completing [$*]: expected [$want], got [$got]"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/alpha/sub" "$work/beta" "$work/my photos"
touch "$work/afile" "$work/alpha/x.jpg" "$work/alpha/Y.JPG" "$work/alpha/y.png" "$work/my photos/p q.jpg"
cd "$work" || exit 1
export HOME=$work

# Options, and the values of --type in both spellings.
expect "--no-pad --no-undo --nth --null --number " --n
expect "--template --text --type " --t
expect "both ext name prefix suffix " --type ""
expect "prefix " --type pr
expect "both ext name prefix suffix " --type = ""
expect "suffix " --dry-run --type = s
# A value is never completed as an option or a file.
expect "" --text ""
expect "" --start ""
# Rule options: their words, and their values never taken for the FOLDER.
expect "title " --case t
expect "mtime " --number end --sort m
expect "no-underscores " --clean = no
expect "" -f ""
expect "alpha " -f 'x y' -r z --scope ext a
expect "Y.JPG x.jpg y.png " --template '{n}' alpha ""
expect "" --remove-first ""
expect "" --remove-between '(' ""
expect "" --remove-between = '(' ""
expect "alpha " --remove-between '(' ')' a
expect "alpha " --remove-between = '(' ')' --remove-last 2 a
expect "Y.JPG x.jpg y.png " --remove-between '[' ']' alpha ""
# FOLDER: folders only.
expect "alpha " a
expect "alpha beta my photos " ""
# NAME: the files of FOLDER, not its sub-folders, under the filter.
expect "Y.JPG x.jpg y.png " alpha ""
expect "y.png " --text P alpha y
expect "Y.JPG x.jpg " --filter jpg alpha ""
expect "Y.JPG x.jpg " --filter = jpg alpha ""
# A folder with a blank, typed the ways a shell user types it.
expect "p q.jpg " 'my\ photos/' p
expect "p q.jpg " '"my photos"' ""
expect "p q.jpg " "'my photos'/" "'p"
expect "p q.jpg " 'my\ photos' 'p\ '
expect "my photos " 'my\ p'
expect "my photos " '"my p'
expect "Y.JPG x.jpg y.png " '~/alpha' ""
expect "Y.JPG x.jpg " --filter '"jpg"' alpha/ ""
# With --all there is no NAME; after "--" a dash starts a name.
expect "" --all alpha ""
expect "" alpha -- -

# The same in an interactive bash, which splits the line and calls the
# completion itself: a Tab after a folder with a blank.
if command -v tmux >/dev/null; then
    cat >"$work/bashrc" <<EOF
PS1='\$ '
source '$completions/quillmere-rename.bash'
cd '$work'
EOF
    socket="$work/tmux.socket"
    tmux -S "$socket" new-session -d -x 200 -y 10 "bash --noprofile --rcfile '$work/bashrc' -i"
    tmux -S "$socket" send-keys 'quillmere-rename my\ photos/ p' Tab
    typed=
    for _ in $(seq 100); do
        typed=$(tmux -S "$socket" capture-pane -p | grep -F 'quillmere-rename' | tail -1)
        [[ $typed == *'q.jpg'* ]] && break
        sleep 0.05
    done
    tmux -S "$socket" kill-server 2>/dev/null
    [[ $typed == *'quillmere-rename my\ photos/ p\ q.jpg'* ]] || fail "interactive bash completed to [$typed]"
else
    echo "tmux not installed: the completion is not tried in an interactive bash"
fi

# Every option --help lists is known to every completion and the manual.
options=$("$program" --help | grep -oE '^ +(-[a-z], )?--[a-z-]+' | grep -oE -- '--[a-z-]+')
[[ $(echo "$options" | wc -l) -ge 10 ]] || fail "too few options read from --help: $options"
offered=$(complete_line --)
for option in $options; do
    grep -qx -- "$option" <<<"$offered" || fail "bash completion does not offer $option"
    grep -qE -- "$option(=?\\[|\})" "$completions/_quillmere-rename" || fail "zsh completion lacks $option"
    grep -qE -- "-l ${option#--}( |\$)" "$completions/quillmere-rename.fish" || fail "fish completion lacks $option"
    grep -qF -- "${option//-/\\-}" "$manual" || fail "the manual page lacks $option"
done

if command -v zsh >/dev/null; then
    zsh -n "$completions/_quillmere-rename" || fail "zsh cannot parse its completion"
    # The NAME answers, with the completion system's calls standing in:
    # _arguments does nothing, compadd prints what it is given.
    zsh_names() {
        zsh -f -c '
            _arguments() { : }
            _wanted() { shift 3; "$@" }
            _files() { print -r -- "_files $*" }
            compadd() { [[ $1 == -a ]] && print -rl -- ${(P)2} }
            source "$1"
            typeset -A opt_args
            line=("$2")
            [[ -n $3 ]] && opt_args[--filter]=$3
            _quillmere_rename_names' zsh "$completions/_quillmere-rename" "$@" | LC_ALL=C sort | tr '\n' ' '
    }
    got=$(zsh_names alpha)
    [[ $got == "Y.JPG x.jpg y.png " ]] || fail "zsh: completing a NAME in alpha gave [$got]"
    got=$(zsh_names 'my\ photos/')
    [[ $got == "p q.jpg " ]] || fail "zsh: completing a NAME in 'my photos/' gave [$got]"
    got=$(zsh_names alpha/ JPG)
    [[ $got == "Y.JPG x.jpg " ]] || fail "zsh: completing a NAME under --filter gave [$got]"
fi
if command -v fish >/dev/null; then
    fish --no-execute "$completions/quillmere-rename.fish" || fail "fish cannot parse its completion"
    # Complete as fish would, in the test folder.
    got=$(fish -c "source '$completions/quillmere-rename.fish'; complete -C 'quillmere-rename --type p'" | cut -f1 | tr '\n' ' ')
    [[ $got == "prefix " ]] || fail "fish: completing --type p gave [$got]"
    got=$(fish -c "source '$completions/quillmere-rename.fish'; complete -C 'quillmere-rename alpha '" | cut -f1 | LC_ALL=C sort | tr '\n' ' ')
    [[ $got == "Y.JPG x.jpg y.png " ]] || fail "fish: completing a NAME gave [$got]"
    # Both markers of --remove-between are values, never the FOLDER.
    for line in "--remove-between '(' ')' alpha " "--remove-between='(' ')' alpha "; do
        got=$(fish -c "source '$completions/quillmere-rename.fish'; complete -C \"quillmere-rename $line\"" | cut -f1 | LC_ALL=C sort | tr '\n' ' ')
        [[ $got == "Y.JPG x.jpg y.png " ]] || fail "fish: completing a NAME after [$line] gave [$got]"
    done
    # Names alone, whatever the folder's spelling, and never a subfolder.
    for folder in 'alpha/' './alpha//' 'my\ photos/' "'my photos'"; do
        got=$(fish -c "source '$completions/quillmere-rename.fish'; complete -C \"quillmere-rename $folder \"" | cut -f1 | LC_ALL=C sort | tr '\n' ' ')
        case $folder in
            *photos*) want="p q.jpg " ;;
            *) want="Y.JPG x.jpg y.png " ;;
        esac
        [[ $got == "$want" ]] || fail "fish: completing a NAME in [$folder] gave [$got]"
    done
fi

if ((failures)); then
    echo "$failures failure(s)"
    exit 1
fi
echo "all completions as expected"
