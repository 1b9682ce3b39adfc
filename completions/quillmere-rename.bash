# bash completion for quillmere-rename                       -*- shell-script -*-

# A word as the shell will pass it: COMP_WORDS holds what was typed, quotes
# and backslashes included ("my\ photos/", "'my photos'/"). Only quoting is
# undone, and a leading ~; nothing is expanded or run.
_quillmere_rename_dequote()
{
    local word=$1 out= quote= c i
    for ((i = 0; i < ${#word}; i++)); do
        c=${word:i:1}
        if [[ $quote == "'" ]]; then
            [[ $c == "'" ]] && quote= || out+=$c
        elif [[ $quote == '"' ]]; then
            if [[ $c == '"' ]]; then
                quote=
            elif [[ $c == '\' && ${word:i+1:1} == [\"\\\$\`] ]]; then
                out+=${word:i+1:1}
                ((i++))
            else
                out+=$c
            fi
        elif [[ $c == "'" || $c == '"' ]]; then
            quote=$c
        elif [[ $c == '\' ]]; then
            out+=${word:i+1:1}
            ((i++))
        else
            out+=$c
        fi
    done
    [[ ${word:0:1} == \~ ]] && [[ $out == \~ || $out == \~/* ]] && out=$HOME${out#\~}
    _qr_dequoted=$out
}

# The operands so far: the words that are neither options nor an option's
# value, as the program will get them.
_quillmere_rename_operands()
{
    local i word after_dashes=0
    _qr_operands=()
    _qr_filter=
    _qr_all=0
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        _quillmere_rename_dequote "$word"
        if ((after_dashes)); then
            _qr_operands+=("$_qr_dequoted")
            continue
        fi
        case $word in
            --) after_dashes=1 ;;
            --all) _qr_all=1 ;;
            --filter)
                [[ ${COMP_WORDS[i + 1]} == = ]] && ((i++))
                ((i++))
                _quillmere_rename_dequote "${COMP_WORDS[i]-}"
                _qr_filter=$_qr_dequoted ;;
            --type | --text | --ext | --start | -f | --find | -r | --replace | --nth | --scope | --case | \
                --number | --step | --width | --sort | --insert | --at | --template | --clean | --preset | \
                --save-preset | --remove-first | --remove-last)
                [[ ${COMP_WORDS[i + 1]} == = ]] && ((i++))
                ((i++)) ;;
            --remove-between)
                [[ ${COMP_WORDS[i + 1]} == = ]] && ((i++))
                ((i += 2)) ;;
            --filter=*) _qr_filter=${_qr_dequoted#--filter=} ;;
            -?*) ;;
            *) _qr_operands+=("$_qr_dequoted") ;;
        esac
    done
}

_quillmere_rename()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()

    # "--type=na" reaches us as "--type" "=" "na".
    if [[ $cur == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 1]}
        cur=
    elif [[ $prev == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi

    case $prev in
        --type)
            COMPREPLY=($(compgen -W 'both name ext prefix suffix' -- "$cur"))
            return ;;
        --scope)
            COMPREPLY=($(compgen -W 'stem ext name' -- "$cur"))
            return ;;
        --case)
            COMPREPLY=($(compgen -W 'lower upper title sentence' -- "$cur"))
            return ;;
        --number)
            COMPREPLY=($(compgen -W 'start end before-ext token' -- "$cur"))
            return ;;
        --at)
            COMPREPLY=($(compgen -W 'start end before-ext' -- "$cur"))
            return ;;
        --width)
            COMPREPLY=($(compgen -W 'auto none' -- "$cur"))
            return ;;
        --nth)
            COMPREPLY=($(compgen -W 'first last' -- "$cur"))
            return ;;
        --sort)
            COMPREPLY=($(compgen -W 'list natural name mtime size taken' -- "$cur"))
            return ;;
        --clean)
            COMPREPLY=($(compgen -W 'ascii windows spaces underscores no-underscores nfc' -- "$cur"))
            return ;;
        --preset)
            # The saved presets by name; a file by its path.
            local presets=${XDG_CONFIG_HOME:-$HOME/.config}/quillmere/presets path
            local IFS=$'\n'
            for path in "$presets"/*.rules; do
                [[ -f $path ]] || continue
                path=${path##*/}
                [[ ${path%.rules} == "$cur"* ]] && COMPREPLY+=("${path%.rules}")
            done
            compopt -o filenames 2>/dev/null
            COMPREPLY+=($(compgen -f -- "$cur"))
            return ;;
        --text | --ext | --start | --filter | -f | --find | -r | --replace | --step | --insert | --template | \
            --save-preset | --remove-first | --remove-last | --remove-between)
            return ;;
    esac
    # The closing marker of --remove-between is its second value.
    local before=$((COMP_CWORD - 2))
    [[ ${COMP_WORDS[before]} == = ]] && ((before--))
    ((before > 0)) && [[ ${COMP_WORDS[before]} == --remove-between ]] && return

    _quillmere_rename_operands
    local dashes=0 word
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        [[ $word == -- ]] && dashes=1
    done

    if [[ $cur == -* ]] && ((!dashes)); then
        COMPREPLY=($(compgen -W '--type --text --ext --start --pad --no-pad
            --keep-existing --overwrite --filter --all --dry-run --null --undo
            --no-undo --help --version --find --replace --literal --ignore-case
            --nth --scope --case --number --step --width --sort --reverse
            --insert --at --template --clean --preset --save-preset
            --list-presets --remove-first --remove-last --remove-between' -- "$cur"))
        return
    fi

    _quillmere_rename_dequote "$cur"
    local prefix=$_qr_dequoted
    local IFS=$'\n'
    if ((${#_qr_operands[@]} == 0)); then
        # FOLDER; -o filenames quotes the answers for the line.
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$prefix"))
        return
    fi
    ((_qr_all)) && return

    # NAME: the files of FOLDER, under the filter when one is given; hidden
    # files are never listed, so never offered.
    local folder=${_qr_operands[0]}
    [[ -d $folder ]] || return
    compopt -o filenames 2>/dev/null
    local path name
    for path in "${folder%/}/$prefix"*; do
        [[ -f $path ]] || continue
        name=${path##*/}
        [[ $name == .* ]] && continue
        if [[ -n $_qr_filter ]]; then
            [[ ${name,,} == *."${_qr_filter,,}" ]] || continue
        fi
        COMPREPLY+=("$name")
    done
}

complete -F _quillmere_rename quillmere-rename
