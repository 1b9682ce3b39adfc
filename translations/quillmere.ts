<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" sourcelanguage="en">
<context>
    <name>ChoicePage</name>
    <message>
        <source>&amp;Letters:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clean &amp;up:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CliText</name>
    <message>
        <source>the %1 argument is not valid text in the encoding of the locale; it would name a different file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unrecognized option &apos;%1&apos; (long options start with &quot;--&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid option -- &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unrecognized option &apos;--%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; doesn&apos;t allow an argument</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; requires an argument</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; is given more than once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>options &apos;--pad&apos; and &apos;--no-pad&apos; exclude each other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>options &apos;--keep-existing&apos; and &apos;--overwrite&apos; exclude each other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown renaming type &apos;%1&apos;: use both, name, ext, prefix or suffix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>missing FOLDER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>give either --all or file names, not both</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no file chosen: give the names of the files to rename, or --all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try &apos;quillmere-rename --help&apos; for more information.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write error: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the starting number &quot;%1&quot; is no whole number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not in the file list of the folder under the pattern &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--undo takes the folder alone, without file names or --all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no journal is kept for this run, so it cannot be undone: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>options &apos;--undo&apos; and &apos;--no-undo&apos; exclude each other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To rename all the same, without a way to undo it, give --no-undo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the run was stopped; files left untouched: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--save-preset&apos; is given more than once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a preset&apos;s name cannot be empty or hold &quot;/&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--save-preset&apos; needs rules to save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>renaming rules and option &apos;--%1&apos; exclude each other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: quillmere-rename [OPTION]... FOLDER NAME...
  or:  quillmere-rename [OPTION]... --all FOLDER
  or:  quillmere-rename RULE... --save-preset=NAME
  or:  quillmere-rename --undo [--dry-run] FOLDER
Rename the chosen files of FOLDER in list order (names sorted without regard
to case), each within FOLDER, numbered from the starting number.

Renaming:
      --type=TYPE       what the new name is made of (default name):
                          both    TEXT, number, &quot;.&quot;, EXT
                          name    TEXT, number, the old extension
                          ext     the old name with the extension EXT
                          prefix  TEXT before the old name
                          suffix  TEXT between the old name and its extension
      --text=TEXT       the new name, prefix or suffix
      --ext=EXT         the new extension, without its dot
      --start=NUMBER    the starting number (default 1)
      --pad             fill numbers with zeros to a width that follows the
                          number of listed files (default)
      --no-pad          do not fill numbers with zeros
      --keep-existing   never replace an existing file: put &quot;_&quot; before the
                          extension of the new name until it is free (default)
      --overwrite       replace a file that already has the new name; the
                          replaced file goes to the trash first, and where
                          no trash can take it, the chosen file is left in
                          place

</source>
        <extracomment>The option names, the TYPE words and the report forms &quot;OLD -&gt; NEW&quot; and &quot;NAME: unchanged&quot; are what the program reads and prints in every language; only the words around them are translated.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Choosing files:
      --filter=EXT      list only the files with the extension EXT
      --all             rename every listed file

Undo:
      --undo            take back the last rename in FOLDER: each file gets
                          its old name again, printed as &quot;NOW -&gt; BEFORE&quot;
      --no-undo         rename even when the journal that undo needs cannot
                          be written (without it the rename is refused)

Output:
  -n, --dry-run         print what would be done; touch nothing
      --null            print each OLD and NEW name followed by a NUL byte
                          instead of &quot;OLD -&gt; NEW&quot; lines
  -h, --help            display this help and exit
      --version         output version information and exit

Each renamed file is printed as &quot;OLD -&gt; NEW&quot;; with --dry-run a file that
already has its new name is printed as &quot;NAME: unchanged&quot;. Every file left in
place is named on standard error with the reason. On a terminal, names with
control or shell characters are quoted as ls quotes them.

Exit status:
 0  every chosen file was renamed or already had its new name
 1  some chosen files were left in place
 2  bad arguments, an unreadable folder, a rename refused before any file was
    moved (another rename runs in FOLDER, no journal can be written, a rule
    cannot be used, or with --overwrite two files would get one name), or
    output that could not be written
 129, 130, 143  stopped by SIGHUP, SIGINT or SIGTERM before the next file
    (128 + the signal&apos;s number); the files not yet renamed are left in place
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; must follow &apos;--%2&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no place: use start, end, before-ext%2 or a number of characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--replace&apos; is given twice for one &apos;--find&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no match: use first, last or a number from 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown scope &apos;%1&apos;: use %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown case &apos;%1&apos;: use %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no whole number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no width: use auto, none or a number up to 255</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown order &apos;%1&apos;: use %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--at&apos; must follow &apos;--insert&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown clean-up &apos;%1&apos;: use %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; requires two arguments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; must follow &apos;--find&apos; or &apos;--remove-between&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option &apos;--remove-between&apos; needs two markers that are not empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no count of characters: use a number from 0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renaming rules (instead of --type; applied in the order given):
  -f, --find=PATTERN    replace what the expression PATTERN matches
  -r, --replace=TEXT    ... by TEXT: $1 or ${1} a group, ${NAME} a named
                          group, $$ a dollar, \U \L \E case; without it the
                          match is deleted
      --literal         ... PATTERN is plain text, TEXT too
  -i, --ignore-case     ... letter case does not count
      --nth=N           ... only the Nth match, or first or last
      --remove-first=N  remove the first N characters
      --remove-last=N   remove the last N characters
      --remove-between OPEN CLOSE
                        remove the first OPEN, the first CLOSE after it and
                          what lies between them; -i after it: letter case
                          does not count
      --scope=SCOPE     the rules after it see the stem (default), ext or
                          name (the whole name)
      --case=CASE       lower, upper, title or sentence
      --number=PLACE    a running number at start, end, before-ext, token
                          (where {n} stands) or after N characters
      --step=STEP       ... added for each file (default 1, may be negative);
                          --start after --number is its first number
      --width=WIDTH     ... zero-filled to auto (as --pad), N digits, or none
      --sort=ORDER      ... counted in list, natural, name, mtime, size or
                          taken (the photo&apos;s date) order
      --reverse         ... in the reverse of that order
      --insert=TEXT     insert TEXT ...
      --at=PLACE        ... at start, end (default), before-ext or after N
                          characters
      --template=TEXT   TEXT in place of what the rule sees; TEXT and --insert
                          may hold {name} {ext} {n} {parent} {mtime:FORMAT}
                          {taken:FORMAT} (FORMAT as yyyy-MM-dd)
      --clean=WHAT      ascii, windows (names FAT and Windows can hold),
                          spaces (runs of white space made one), underscores
                          (spaces to &quot;_&quot;), no-underscores (back), nfc
      --preset=PRESET   the rules of a saved preset, by name or file
      --save-preset=NAME  save the rules given as a preset (with no FOLDER,
                          only that)
      --list-presets    list the saved presets and exit
</source>
        <extracomment>Part of quillmere-rename --help. The option names and the words they take (stem, ext, name, lower, upper, title, sentence, start, end, before-ext, token, auto, none, list, natural, mtime, size, taken, ascii, windows, spaces, underscores, no-underscores, nfc) and the tokens in braces are what the program reads in every language.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DriveListModel</name>
    <message>
        <source>%1 (not ready)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileSelectionPanel</name>
    <message>
        <source>The folder %1 cannot be opened: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The drive %1 is not ready.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderHandle</name>
    <message>
        <source>the folder is marked immutable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder is marked append-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is a link to the file that has the new name</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderListModel</name>
    <message>
        <source>access is denied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no folder was given</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>1 file was not renamed and is still in the folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files were not renamed and are still in the folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (now %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
... and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

1 other file was renamed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

%1 other files were renamed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renaming Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 by %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder no longer exists; 1 file was not renamed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder no longer exists; %1 files were not renamed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 file was not renamed and is no longer in the folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files were not renamed and are no longer in the folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rename Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renaming &amp;Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Starting Number:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Fi&amp;lter:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Pad numbers in file name with zeros (File001.jpg, File002.jpg, etc...)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;member the last starting number used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don&apos;t &amp;overwrite existing files if the new filename is already in use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a &amp;directory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the fil&amp;es you want to rename:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Filter Extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo Last Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About this software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>quillmere: %1 is not in %2; left out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;bout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undone: 1 file has its name from before the rename again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undone: %1 files have their names from before the rename again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A rename is running; it can be undone once it has finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes back the last rename in this folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No rename in this folder is left to undo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ru&amp;les...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Form8</name>
    <message>
        <source>Readme/Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show at Startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help text</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InsertPage</name>
    <message>
        <source>Text &amp;or template:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tokens: {name} {ext} {n} {parent} {mtime:yyyy-MM-dd} {taken:yyyy-MM-dd}</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NumberPage</name>
    <message>
        <source>Count bac&amp;kwards</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;First number:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step si&amp;ze:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zeros to fit the list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A fixed number of digits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No leading zeros</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Di&amp;gits:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Order:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlaceFields</name>
    <message>
        <source>At the end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At the start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Before the extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>After a number of characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In place of {n}</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In place of the whole part (template)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;lace:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aft&amp;er characters:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PresetBar</name>
    <message>
        <source>Rule presets (*.rules);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name of the preset:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Preset:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(not saved)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save preset as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export preset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be the name of a preset: it may not hold &quot;/&quot; nor start with a dot.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A preset named &quot;%1&quot; exists. Replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preset &quot;%1&quot; cannot be deleted: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rules</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewModel</name>
    <message>
        <source>Current name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What will happen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only files that will not simply be renamed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files and their new names</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RenameRequest</name>
    <message>
        <source>You must enter a file name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must enter a file extension.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must choose a starting number to increment filenames.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must enter prefix.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must enter suffix.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RenamingOptions</name>
    <message>
        <source>Change both file name and extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change only the file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change only the extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add A Prefix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add A Suffix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Prefix:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Suffix:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReplacePage</name>
    <message>
        <source>&amp;Literal text, not an expression</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I&amp;gnore case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find and replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the first characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the last characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from one marker to another</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Form:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace wit&amp;h:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;End marker:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The first match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One match, by its number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Which matches:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match n&amp;umber:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number &amp;of characters:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start mar&amp;ker:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loo&amp;k for:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RuleListEditor</name>
    <message>
        <source>Rules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rule lis&amp;t:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change &amp;case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Number the files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert text or template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;lean up the names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New rule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the rule (Delete)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the rule up (Ctrl+Up)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the rule down (Ctrl+Down)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Appl&amp;y to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a rule in the list, or add one with &quot;New rule&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RuleSummary</name>
    <message>
        <source>&quot;%1&quot;</source>
        <extracomment>Quotation marks around a text the user typed.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>name without extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>whole name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at the start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at the end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>before the extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>after 1 character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>after %1 characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in place of {n}</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in place of the whole part</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in list order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in natural order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by modified time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by date taken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lower case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upper case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sentence case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spell letters in ASCII</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make names Windows can hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tidy up spaces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spaces to underscores</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Underscores to spaces</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compose Unicode characters (NFC)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the first character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the first %1 characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the last character</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the last %1 characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from %1 to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ignoring case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace %1 with %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>first match only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>last match only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>match %1 only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>as plain text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number %1 from %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>step %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 digit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 digits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no leading zeros</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reversed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Template %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>%1 is what the rule does, %2 the part of the name it works on.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RuleText</name>
    <message>
        <source>the transliteration to ASCII is not available (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the token {%1} takes no format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown token {%1}: use {name}, {ext}, {n}, {parent}, {mtime} or {taken}</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not one of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither yes nor no</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no whole number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown key &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the preset &quot;%1&quot; cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this is no rule preset: it must start with &quot;%1 %2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the preset is of version %1, newer than this program reads (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a line must be &quot;[rule]&quot; or &quot;key = value&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a setting before the first &quot;[rule]&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, line %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the preset is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a preset cannot keep a text with a line break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the preset &quot;%1&quot; cannot be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>both markers are needed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the text to find is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the expression &quot;%1&quot; does not compile: %2 at character %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the match to replace is counted from 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the replacement names the group &quot;%1&quot;, which the expression does not have</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the replacement has &quot;${&quot; without its &quot;}&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rule %1 (%2)</source>
        <extracomment>%2 is the rule&apos;s kind as the command line and presets write it (replace, case, number, insert, clean), never translated.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown kind of rule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: the expression ran past its match limit on &quot;%1&quot;; simplify it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no date taken in the file; its modified time was used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; and &quot;%2&quot; would both be renamed to &quot;%3&quot;; nothing was renamed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RulesPreviewPane</name>
    <message>
        <source>Pre&amp;view:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only rows with pro&amp;blems</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only rows with problems</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files and their new names</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RulesWindow</name>
    <message>
        <source>Rules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename with these rules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Existing files are kept: a name that is taken gets &quot;_&quot;. (Set in the main window.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Existing files are replaced by files renamed to their names. (Set in the main window.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A rename is running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preview is being worked out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These rules cannot be used on these files; the preview says why.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No file is selected in the main window.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunText</name>
    <message>
        <source>the new name is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the new name leaves the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the new name holds a NUL character, which file names cannot hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the new name is longer than the file system allows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder cannot be written: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is listed more than once</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the new name is the file&apos;s current name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; it could not be put back under its own name and is now &quot;%1&quot;%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; a file renamed in this run took its name, so it is now &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file with the new name already exists, and no free variant of the name fits the file system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the rename failed: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the selected file &quot;%1&quot; has the new name and could not be moved out of the way: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a folder or other entry that is not a file has the new name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no free temporary name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is a link to &quot;%1&quot;, and under that name it would point at itself</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another rename is running in the folder &quot;%1&quot;. Nothing was renamed; try again when it has finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the run was stopped before this file&apos;s turn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the running number cannot go past 2147483647</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the running number &quot;%1&quot; is no whole number and cannot advance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>several names in the folder lead to the file; it is left as it is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another file now has the name &quot;%1&quot;; it is left as it is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is no longer in the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it could not be moved out of the way: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another file now has its old name &quot;%1&quot;; it is left as &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it could not be moved back to &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the run replaced the file &quot;%1&quot; where no trash could keep it; its content is gone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file the run replaced is no longer in the trash as &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another file now has the name &quot;%1&quot;; the file the run replaced stays in the trash as &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it could not be brought back from the trash: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the folder &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No rename in the folder &quot;%1&quot; is left to undo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 file could not be put back:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files could not be put back:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

1 other file was put back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

%1 other files were put back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A rename in the folder &quot;%1&quot; was cut off and left it half-renamed. Open that folder and choose &quot;Undo Last Rename&quot; in the File menu to put it back as it was.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renames in these folders were cut off and left them half-renamed:
%1

Open each folder and choose &quot;Undo Last Rename&quot; in the File menu to put it back as it was.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot make the folder &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write in &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write the journal &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is no longer in the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>renamed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gets &quot;_&quot; because the name is taken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>replaces an existing file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>left in place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>left in place: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder no longer exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is no longer in the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is a link to the file that has the new name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; that has the new name could not be put in a trash (%2), so it was not replaced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a file of that name is in the trash already</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the run&apos;s journal &quot;%1&quot; could not be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another file took the new name while the run went on, and was not replaced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; the file that had the new name is in the trash as &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing was renamed in the folder &quot;%1&quot;: the journal from which the rename could be undone cannot be written (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the journal &quot;%1&quot; could not be written to its end (%2): undo can take back only the moves it recorded before, and no file was replaced after</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot make the folder &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot read &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder of this user&apos;s own</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot open the trash &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the trash &quot;%1&quot; is on another device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the top of the folder&apos;s file system cannot be found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the trash entry &quot;%1&quot; is not the file the run replaced; it is left there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a name in the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a name in the trash</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a trash of the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last recorded rename of &quot;%1&quot; was made in a folder that has been deleted since; this folder only took its place. Nothing was moved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record &quot;%1&quot; of the last rename in &quot;%2&quot; is damaged: %3. Nothing was moved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renamed: %1 · Gets &quot;_&quot;: %2 · Replaces an existing file: %3 · Unchanged: %4 · Left in place: %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no free name in the trash &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StartArguments</name>
    <message>
        <source>quillmere: %1
Try &apos;quillmere --help&apos; for more information.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: quillmere [FOLDER | FILE...]
Open the bulk file renamer&apos;s window. With FOLDER, the file list shows that
folder; with FILE, it shows the file&apos;s folder with the file selected (further
files of the same folder are selected as well). Without an argument the
window opens on the folder used last.

  -h, --help     display this help and exit
  -V, --version  output version information and exit

Exit status:
 0  when the window was closed,
 2  when the command line could not be used.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unrecognized option &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid option -- &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an empty name is no folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UnreadableFolder</name>
    <message>
        <source>it does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>access is denied</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Owned By:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning: this computer program is protected by copyright law. The program is licensed, not sold; its owner keeps every right not granted by the licence. Copying or passing on this program, or any part of it, other than as the licence allows is not permitted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
