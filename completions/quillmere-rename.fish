# fish completion for quillmere-rename

# The operands given so far: the words that are neither options nor their values.
function __quillmere_rename_operands
    set -l tokens (commandline -opc)
    set -e tokens[1]
    set -l skip 0
    set -l dashes 0
    for token in $tokens
        if test $skip -gt 0
            set skip (math $skip - 1)
            continue
        end
        if test $dashes -eq 1
            echo -- $token
            continue
        end
        switch $token
            case --
                set dashes 1
            case --type --text --ext --start --filter -f --find -r --replace --nth --scope --case --number --step --width --sort --insert --at --template --clean --preset --save-preset --remove-first --remove-last '--remove-between=*'
                set skip 1
            case --remove-between
                # Two values: the opening and the closing marker.
                set skip 2
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

# The saved presets, by name.
function __quillmere_rename_presets
    set -l folder $HOME/.config/quillmere/presets
    set -q XDG_CONFIG_HOME; and set folder $XDG_CONFIG_HOME/quillmere/presets
    for path in $folder/*.rules
        string replace -r -- '^.*/(.*)\.rules$' '$1' $path
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
complete -c quillmere-rename -s n -l dry-run -d 'Print what would be done; touch nothing'
complete -c quillmere-rename -l null -d 'Print NUL-terminated OLD and NEW names instead of lines'
complete -c quillmere-rename -l undo -d 'Take back the last rename in FOLDER'
complete -c quillmere-rename -l no-undo -d 'Rename even when no journal for undo can be written'
complete -c quillmere-rename -s f -l find -x -d 'Replace what the expression matches'
complete -c quillmere-rename -s r -l replace -x -d 'Text in place of the match ($1, ${name}, \\U \\L \\E)'
complete -c quillmere-rename -l literal -d 'The pattern and replacement are plain text'
complete -c quillmere-rename -s i -l ignore-case -d 'Letter case does not count in the match'
complete -c quillmere-rename -l nth -x -a 'first last' -d 'Only this match'
complete -c quillmere-rename -l remove-first -x -d 'Remove the first N characters'
complete -c quillmere-rename -l remove-last -x -d 'Remove the last N characters'
complete -c quillmere-rename -l remove-between -x -d 'Remove two markers and what lies between them'
complete -c quillmere-rename -l scope -x -a 'stem ext name' -d 'The part of the name the rules after it see'
complete -c quillmere-rename -l case -x -a 'lower upper title sentence' -d 'Change letter case'
complete -c quillmere-rename -l number -x -a 'start end before-ext token' -d 'Put a running number'
complete -c quillmere-rename -l step -x -d 'Added to the number for each file'
complete -c quillmere-rename -l width -x -a 'auto none' -d 'Digits the number is filled to'
complete -c quillmere-rename -l sort -x -a 'list natural name mtime size taken' -d 'Order the files are numbered in'
complete -c quillmere-rename -l reverse -d 'Number in the reverse order'
complete -c quillmere-rename -l insert -x -d 'Insert text'
complete -c quillmere-rename -l at -x -a 'start end before-ext' -d 'Where the inserted text goes'
complete -c quillmere-rename -l template -x -d 'Text in place of the name, with tokens'
complete -c quillmere-rename -l clean -x -a 'ascii windows spaces underscores no-underscores nfc' -d 'Clean names up'
complete -c quillmere-rename -l preset -r -F -a '(__quillmere_rename_presets)' -d 'The rules of a saved preset'
complete -c quillmere-rename -l save-preset -x -d 'Save the rules given as a preset'
complete -c quillmere-rename -l list-presets -d 'List the saved presets and exit'
complete -c quillmere-rename -s h -l help -d 'Display help and exit'
complete -c quillmere-rename -l version -d 'Output version information and exit'
complete -c quillmere-rename -n __quillmere_rename_wants_folder -x -a '(__fish_complete_directories (commandline -ct))'
complete -c quillmere-rename -n __quillmere_rename_wants_name -x -a '(__quillmere_rename_names)'
