# bash completion for quillmere-rename                       -*- shell-script -*-

# The folder operand as a path: the first word that is neither an option nor
# an option's value, with a leading ~ expanded.
_quillmere_rename_operands()
{
    local i word after_dashes=0
    _qr_operands=()
    _qr_filter=
    _qr_all=0
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if ((after_dashes)); then
            _qr_operands+=("$word")
            continue
        fi
        case $word in
            --) after_dashes=1 ;;
            --all) _qr_all=1 ;;
            --filter)
                [[ ${COMP_WORDS[i + 1]} == = ]] && ((i++))
                ((i++))
                _qr_filter=${COMP_WORDS[i]-} ;;
            --type | --text | --ext | --start)
                [[ ${COMP_WORDS[i + 1]} == = ]] && ((i++))
                ((i++)) ;;
            --filter=*) _qr_filter=${word#--filter=} ;;
            -?*) ;;
            *) _qr_operands+=("$word") ;;
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
        --text | --ext | --start | --filter)
            return ;;
    esac

    _quillmere_rename_operands
    local dashes=0 word
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        [[ $word == -- ]] && dashes=1
    done

    if [[ $cur == -* ]] && ((!dashes)); then
        COMPREPLY=($(compgen -W '--type --text --ext --start --pad --no-pad
            --keep-existing --overwrite --filter --all --dry-run --null --undo
            --no-undo --help --version' -- "$cur"))
        return
    fi

    local IFS=$'\n'
    if ((${#_qr_operands[@]} == 0)); then
        # FOLDER
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
        return
    fi
    ((_qr_all)) && return

    # NAME: the files of FOLDER, under the filter when one is given.
    local folder=${_qr_operands[0]}
    [[ $folder == \~/* ]] && folder=$HOME/${folder#\~/}
    [[ $folder == \~ ]] && folder=$HOME
    [[ -d $folder ]] || return
    compopt -o filenames 2>/dev/null
    local path name
    for path in $(compgen -f -- "$folder/$cur"); do
        [[ -f $path ]] || continue
        name=${path#"$folder/"}
        if [[ -n $_qr_filter ]]; then
            [[ ${name,,} == *."${_qr_filter,,}" ]] || continue
        fi
        COMPREPLY+=("$name")
    done
}

complete -F _quillmere_rename quillmere-rename
