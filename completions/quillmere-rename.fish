# fish completion for quillmere-rename

# The operands given so far: the words that are neither options nor their values.
function __quillmere_rename_operands
    set -l tokens (commandline -opc)
    set -e tokens[1]
    set -l skip 0
    set -l dashes 0
    for token in $tokens
        if test $skip -eq 1
            set skip 0
            continue
        end
        if test $dashes -eq 1
            echo -- $token
            continue
        end
        switch $token
            case --
                set dashes 1
            case --type --text --ext --start --filter
                set skip 1
            case '-?*'
            case '*'
                echo -- $token
        end
    end
end

function __quillmere_rename_wants_folder
    test (count (__quillmere_rename_operands)) -eq 0
end

function __quillmere_rename_wants_name
    not __quillmere_rename_wants_folder
    and not contains -- --all (commandline -opc)
end

# The files of the FOLDER operand, under --filter when it is given.
function __quillmere_rename_names
    set -l folder (__quillmere_rename_operands)[1]
    set folder (string replace -r '^~(?=/|$)' $HOME -- $folder)
    test -d "$folder"; or return
    set -l tokens (commandline -opc)
    set -l filter
    for i in (seq (count $tokens))
        switch $tokens[$i]
            case '--filter=*'
                set filter (string replace -- --filter= '' $tokens[$i])
            case --filter
                set -l next (math $i + 1)
                set -q tokens[$next]; and set filter $tokens[$next]
        end
    end
    # The names alone: a folder typed with a trailing slash or with "//"
    # must not leave its path on them, which the program would refuse.
    for path in $folder/*
        test -f $path; or continue
        set -l name (string replace -r -- '^.*/' '' $path)
        if test -n "$filter"
            string match -qi -- "*.$filter" $name; or continue
        end
        echo -- $name
    end
end

complete -c quillmere-rename -f
complete -c quillmere-rename -l type -x -a 'both\t"text, number, dot and extension" name\t"text and number, old extension kept" ext\t"old name, new extension" prefix\t"text before the old name" suffix\t"text before the extension"' -d 'What the new name is made of'
complete -c quillmere-rename -l text -x -d 'New name, prefix or suffix'
complete -c quillmere-rename -l ext -x -d 'New extension, without its dot'
complete -c quillmere-rename -l start -x -d 'Starting number'
complete -c quillmere-rename -l pad -d 'Fill numbers with zeros (default)'
complete -c quillmere-rename -l no-pad -d 'Do not fill numbers with zeros'
complete -c quillmere-rename -l keep-existing -d 'Never replace an existing file (default)'
complete -c quillmere-rename -l overwrite -d 'Replace a file that already has the new name'
complete -c quillmere-rename -l filter -x -d 'List only the files with this extension'
complete -c quillmere-rename -l all -d 'Rename every listed file'
complete -c quillmere-rename -l dry-run -d 'Print what would be done; touch nothing'
complete -c quillmere-rename -l null -d 'Print NUL-terminated OLD and NEW names instead of lines'
complete -c quillmere-rename -l undo -d 'Take back the last rename in FOLDER'
complete -c quillmere-rename -l no-undo -d 'Rename even when no journal for undo can be written'
complete -c quillmere-rename -s h -l help -d 'Display help and exit'
complete -c quillmere-rename -l version -d 'Output version information and exit'
complete -c quillmere-rename -n __quillmere_rename_wants_folder -x -a '(__fish_complete_directories (commandline -ct))'
complete -c quillmere-rename -n __quillmere_rename_wants_name -x -a '(__quillmere_rename_names)'
