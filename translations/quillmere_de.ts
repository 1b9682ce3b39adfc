<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>ChoicePage</name>
    <message>
        <source>&amp;Letters:</source>
        <translation>Schreib&amp;weise:</translation>
    </message>
    <message>
        <source>Clean &amp;up:</source>
        <translation>&amp;Art der Bereinigung:</translation>
    </message>
</context>
<context>
    <name>CliText</name>
    <message>
        <source>the %1 argument is not valid text in the encoding of the locale; it would name a different file</source>
        <translation>das Argument %1 ist kein gültiger Text in der Kodierung des Gebietsschemas; es würde eine andere Datei bezeichnen</translation>
    </message>
    <message>
        <source>unrecognized option &apos;%1&apos; (long options start with &quot;--&quot;)</source>
        <translation>nicht erkannte Option »%1« (lange Optionen beginnen mit &quot;--&quot;)</translation>
    </message>
    <message>
        <source>invalid option -- &apos;%1&apos;</source>
        <translation>ungültige Option -- »%1«</translation>
    </message>
    <message>
        <source>unrecognized option &apos;--%1&apos;</source>
        <translation>nicht erkannte Option »--%1«</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; doesn&apos;t allow an argument</source>
        <translation>Option »--%1« erlaubt kein Argument</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; requires an argument</source>
        <translation>Option »--%1« verlangt ein Argument</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; is given more than once</source>
        <translation>Option »--%1« ist mehr als einmal angegeben</translation>
    </message>
    <message>
        <source>options &apos;--pad&apos; and &apos;--no-pad&apos; exclude each other</source>
        <translation>die Optionen »--pad« und »--no-pad« schließen einander aus</translation>
    </message>
    <message>
        <source>options &apos;--keep-existing&apos; and &apos;--overwrite&apos; exclude each other</source>
        <translation>die Optionen »--keep-existing« und »--overwrite« schließen einander aus</translation>
    </message>
    <message>
        <source>unknown renaming type &apos;%1&apos;: use both, name, ext, prefix or suffix</source>
        <translation>unbekannte Umbenennungsart »%1«: both, name, ext, prefix oder suffix verwenden</translation>
    </message>
    <message>
        <source>missing FOLDER</source>
        <translation>ORDNER fehlt</translation>
    </message>
    <message>
        <source>give either --all or file names, not both</source>
        <translation>entweder --all oder Dateinamen angeben, nicht beides</translation>
    </message>
    <message>
        <source>no file chosen: give the names of the files to rename, or --all</source>
        <translation>keine Datei gewählt: die Namen der umzubenennenden Dateien angeben, oder --all</translation>
    </message>
    <message>
        <source>Try &apos;quillmere-rename --help&apos; for more information.</source>
        <translation>»quillmere-rename --help« liefert weitere Informationen.</translation>
    </message>
    <message>
        <source>write error: </source>
        <translation>Schreibfehler: </translation>
    </message>
    <message>
        <source>the starting number &quot;%1&quot; is no whole number</source>
        <translation>die Startnummer &quot;%1&quot; ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>the folder cannot be read</source>
        <translation>der Ordner kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>not in the file list of the folder under the pattern &quot;%1&quot;</source>
        <translation>nicht in der Dateiliste des Ordners unter dem Muster &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--undo takes the folder alone, without file names or --all</source>
        <translation>--undo nimmt nur den Ordner, ohne Dateinamen oder --all</translation>
    </message>
    <message>
        <source>no journal is kept for this run, so it cannot be undone: </source>
        <translation>für diesen Lauf wird kein Protokoll geführt, daher kann er nicht rückgängig gemacht werden: </translation>
    </message>
    <message>
        <source>options &apos;--undo&apos; and &apos;--no-undo&apos; exclude each other</source>
        <translation>die Optionen &apos;--undo&apos; und &apos;--no-undo&apos; schließen einander aus</translation>
    </message>
    <message>
        <source>To rename all the same, without a way to undo it, give --no-undo.</source>
        <translation>Um trotzdem umzubenennen, ohne es rückgängig machen zu können, --no-undo angeben.</translation>
    </message>
    <message>
        <source>the run was stopped; files left untouched: %1</source>
        <translation>der Lauf wurde angehalten; unberührt gebliebene Dateien: %1</translation>
    </message>
    <message>
        <source>option &apos;--save-preset&apos; is given more than once</source>
        <translation>Option „--save-preset“ ist mehrmals angegeben</translation>
    </message>
    <message>
        <source>a preset&apos;s name cannot be empty or hold &quot;/&quot;</source>
        <translation>der Name einer Vorlage darf nicht leer sein und kein „/“ enthalten</translation>
    </message>
    <message>
        <source>option &apos;--save-preset&apos; needs rules to save</source>
        <translation>Option „--save-preset“ braucht Regeln, die sie speichern kann</translation>
    </message>
    <message>
        <source>renaming rules and option &apos;--%1&apos; exclude each other</source>
        <translation>Umbenennungsregeln und Option „--%1“ schließen einander aus</translation>
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
        <translation>Aufruf: quillmere-rename [OPTION]... ORDNER NAME...
  oder: quillmere-rename [OPTION]... --all ORDNER
  oder: quillmere-rename REGEL... --save-preset=NAME
  oder: quillmere-rename --undo [--dry-run] ORDNER
Benennt die gewählten Dateien von ORDNER in der Reihenfolge der Liste um (Namen
ohne Rücksicht auf Groß- und Kleinschreibung sortiert), jede innerhalb von
ORDNER, nummeriert ab der Startnummer.

Umbenennen:
      --type=TYP        woraus der neue Name besteht (Vorgabe name):
                          both    TEXT, Nummer, &quot;.&quot;, ERW
                          name    TEXT, Nummer, die alte Erweiterung
                          ext     der alte Name mit der Erweiterung ERW
                          prefix  TEXT vor dem alten Namen
                          suffix  TEXT zwischen dem alten Namen und seiner
                                  Erweiterung
      --text=TEXT       der neue Name, das Präfix oder das Suffix
      --ext=ERW         die neue Erweiterung, ohne ihren Punkt
      --start=ZAHL      die Startnummer (Vorgabe 1)
      --pad             Nummern mit Nullen auf eine Breite auffüllen, die sich
                          nach der Zahl der aufgelisteten Dateien richtet (Vorgabe)
      --no-pad          Nummern nicht mit Nullen auffüllen
      --keep-existing   nie eine vorhandene Datei ersetzen: &quot;_&quot; vor die
                          Erweiterung des neuen Namens setzen, bis er frei ist
                          (Vorgabe)
      --overwrite       eine Datei ersetzen, die den neuen Namen schon trägt;
                          die ersetzte Datei kommt zuerst in den Papierkorb,
                          und wo kein Papierkorb sie aufnehmen kann, bleibt
                          die gewählte Datei an ihrem Platz

</translation>
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
        <translation>
Dateien wählen:
      --filter=ERW      nur die Dateien mit der Erweiterung ERW auflisten
      --all             jede aufgelistete Datei umbenennen

Rückgängig machen:
      --undo            das letzte Umbenennen in ORDNER zurücknehmen: jede Datei
                          erhält wieder ihren alten Namen, ausgegeben als
                          &quot;JETZT -&gt; VORHER&quot;
      --no-undo         auch dann umbenennen, wenn das Protokoll, das zum
                          Rückgängigmachen nötig ist, nicht geschrieben werden
                          kann (ohne die Option wird das Umbenennen abgelehnt)

Ausgabe:
  -n, --dry-run         ausgeben, was getan würde; nichts anfassen
      --null            jeden ALTEN und NEUEN Namen gefolgt von einem NUL-Byte
                          ausgeben statt Zeilen &quot;ALT -&gt; NEU&quot;
  -h, --help            diese Hilfe anzeigen und beenden
      --version         Versionsinformation ausgeben und beenden

Jede umbenannte Datei wird als &quot;ALT -&gt; NEU&quot; ausgegeben; mit --dry-run wird
eine Datei, die ihren neuen Namen schon trägt, als &quot;NAME: unchanged&quot;
ausgegeben. Jede Datei, die an ihrem Platz bleibt, wird mit dem Grund auf der
Standardfehlerausgabe genannt. Auf einem Terminal werden Namen mit Steuer- oder
Shell-Zeichen so in Anführungszeichen gesetzt, wie ls sie setzt.

Rückgabewert:
 0  jede gewählte Datei wurde umbenannt oder trug ihren neuen Namen schon
 1  einige gewählte Dateien blieben an ihrem Platz
 2  falsche Argumente, ein nicht lesbarer Ordner, ein Umbenennen, das abgelehnt
    wurde, bevor eine Datei bewegt wurde (ein anderes Umbenennen läuft in
    ORDNER, kein Protokoll kann geschrieben werden, eine Regel ist nicht
    anwendbar, oder mit --overwrite bekämen zwei Dateien einen Namen), oder
    eine Ausgabe, die nicht geschrieben werden konnte
 129, 130, 143  durch SIGHUP, SIGINT oder SIGTERM vor der nächsten Datei
    angehalten (128 + die Nummer des Signals); die noch nicht umbenannten
    Dateien bleiben an ihrem Platz
</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; must follow &apos;--%2&apos;</source>
        <translation>Option „--%1“ muss auf „--%2“ folgen</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no place: use start, end, before-ext%2 or a number of characters</source>
        <translation>„%1“ ist keine Stelle: start, end, before-ext%2 oder eine Zahl von Zeichen angeben</translation>
    </message>
    <message>
        <source>option &apos;--replace&apos; is given twice for one &apos;--find&apos;</source>
        <translation>Option „--replace“ ist für ein „--find“ zweimal angegeben</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no match: use first, last or a number from 1</source>
        <translation>„%1“ ist kein Treffer: first, last oder eine Zahl ab 1 angeben</translation>
    </message>
    <message>
        <source>unknown scope &apos;%1&apos;: use %2</source>
        <translation>unbekannter Teil „%1“: %2 angeben</translation>
    </message>
    <message>
        <source>unknown case &apos;%1&apos;: use %2</source>
        <translation>unbekannte Schreibung „%1“: %2 angeben</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no whole number</source>
        <translation>„%1“ ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no width: use auto, none or a number up to 255</source>
        <translation>„%1“ ist keine Breite: auto, none oder eine Zahl bis 255 angeben</translation>
    </message>
    <message>
        <source>unknown order &apos;%1&apos;: use %2</source>
        <translation>unbekannte Ordnung „%1“: %2 angeben</translation>
    </message>
    <message>
        <source>option &apos;--at&apos; must follow &apos;--insert&apos;</source>
        <translation>Option „--at“ muss auf „--insert“ folgen</translation>
    </message>
    <message>
        <source>unknown clean-up &apos;%1&apos;: use %2</source>
        <translation>unbekannte Bereinigung „%1“: %2 angeben</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; requires two arguments</source>
        <translation>Option „--%1“ verlangt zwei Argumente</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; must follow &apos;--find&apos; or &apos;--remove-between&apos;</source>
        <translation>Option „--%1“ muss auf „--find“ oder „--remove-between“ folgen</translation>
    </message>
    <message>
        <source>option &apos;--remove-between&apos; needs two markers that are not empty</source>
        <translation>Option „--remove-between“ braucht zwei Marken, die nicht leer sind</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no count of characters: use a number from 0</source>
        <translation>„%1“ ist keine Anzahl von Zeichen: eine Zahl ab 0 angeben</translation>
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
        <translation>Umbenennungsregeln (statt --type; in der angegebenen Reihenfolge angewandt):
  -f, --find=MUSTER     ersetzen, was der reguläre Ausdruck MUSTER trifft
  -r, --replace=TEXT    ... durch TEXT: $1 oder ${1} eine Gruppe, ${NAME} eine
                          benannte Gruppe, $$ ein Dollar, \U \L \E Groß- und
                          Kleinschreibung; ohne die Option wird der Treffer
                          gelöscht
      --literal         ... MUSTER ist einfacher Text, TEXT ebenso
  -i, --ignore-case     ... Groß- und Kleinschreibung zählt nicht
      --nth=N           ... nur der N-te Treffer, oder first oder last
      --remove-first=N  die ersten N Zeichen entfernen
      --remove-last=N   die letzten N Zeichen entfernen
      --remove-between AUF ZU
                        das erste AUF, das erste ZU danach und alles
                          dazwischen entfernen; -i danach: Groß- und
                          Kleinschreibung zählt nicht
      --scope=TEIL      die Regeln danach sehen den Stamm (stem, Vorgabe), die
                          Erweiterung (ext) oder den ganzen Namen (name)
      --case=FORM       lower, upper, title oder sentence
      --number=STELLE   eine laufende Nummer bei start, end, before-ext, token
                          (wo {n} steht) oder nach N Zeichen
      --step=SCHRITT    ... für jede Datei addiert (Vorgabe 1, auch negativ);
                          --start nach --number ist ihre erste Nummer
      --width=BREITE    ... mit Nullen aufgefüllt: auto (wie --pad), N Ziffern
                          oder none
      --sort=ORDNUNG    ... gezählt in der Ordnung list, natural, name, mtime,
                          size oder taken (Aufnahmedatum des Fotos)
      --reverse         ... in umgekehrter Ordnung
      --insert=TEXT     TEXT einfügen ...
      --at=STELLE       ... bei start, end (Vorgabe), before-ext oder nach N
                          Zeichen
      --template=TEXT   TEXT anstelle dessen, was die Regel sieht; TEXT und
                          --insert dürfen {name} {ext} {n} {parent}
                          {mtime:FORMAT} {taken:FORMAT} enthalten (FORMAT wie
                          yyyy-MM-dd)
      --clean=WAS       ascii, windows (Namen, die FAT und Windows fassen),
                          spaces (Folgen von Leerraum zu einem Leerzeichen),
                          underscores (Leerzeichen zu &quot;_&quot;), no-underscores
                          (zurück), nfc
      --preset=VORLAGE  die Regeln einer gespeicherten Vorlage, nach Name oder
                          Datei
      --save-preset=NAME  die angegebenen Regeln als Vorlage speichern (ohne
                          ORDNER nur das)
      --list-presets    die gespeicherten Vorlagen auflisten und beenden
</translation>
    </message>
</context>
<context>
    <name>DriveListModel</name>
    <message>
        <source>%1 (not ready)</source>
        <translation>%1 (nicht bereit)</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>FileSelectionPanel</name>
    <message>
        <source>The folder %1 cannot be opened: %2.</source>
        <translation>Der Ordner %1 kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>The drive %1 is not ready.</source>
        <translation>Das Laufwerk %1 ist nicht bereit.</translation>
    </message>
</context>
<context>
    <name>FolderHandle</name>
    <message>
        <source>the folder is marked immutable</source>
        <translation>der Ordner ist als unveränderlich markiert</translation>
    </message>
    <message>
        <source>the folder is marked append-only</source>
        <translation>der Ordner ist als nur erweiterbar markiert</translation>
    </message>
    <message>
        <source>the file is a link to the file that has the new name</source>
        <translation>die Datei ist eine Verknüpfung auf die Datei, die den neuen Namen trägt</translation>
    </message>
</context>
<context>
    <name>FolderListModel</name>
    <message>
        <source>access is denied</source>
        <translation>der Zugriff wird verweigert</translation>
    </message>
    <message>
        <source>no folder was given</source>
        <translation>es wurde kein Ordner angegeben</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>1 file was not renamed and is still in the folder:</source>
        <translation>1 Datei wurde nicht umbenannt und ist noch im Ordner:</translation>
    </message>
    <message>
        <source>%1 files were not renamed and are still in the folder:</source>
        <translation>%1 Dateien wurden nicht umbenannt und sind noch im Ordner:</translation>
    </message>
    <message>
        <source> (now %1)</source>
        <translation> (jetzt %1)</translation>
    </message>
    <message>
        <source>
... and %1 more.</source>
        <translation>
... und %1 weitere.</translation>
    </message>
    <message>
        <source>

1 other file was renamed.</source>
        <translation>

1 andere Datei wurde umbenannt.</translation>
    </message>
    <message>
        <source>

%1 other files were renamed.</source>
        <translation>

%1 andere Dateien wurden umbenannt.</translation>
    </message>
    <message>
        <source>Renaming Options</source>
        <translation>Umbenennungsoptionen</translation>
    </message>
    <message>
        <source>File Selection</source>
        <translation>Dateiauswahl</translation>
    </message>
    <message>
        <source>%1 by %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>The folder no longer exists; 1 file was not renamed:</source>
        <translation>Der Ordner existiert nicht mehr; 1 Datei wurde nicht umbenannt:</translation>
    </message>
    <message>
        <source>The folder no longer exists; %1 files were not renamed:</source>
        <translation>Der Ordner existiert nicht mehr; %1 Dateien wurden nicht umbenannt:</translation>
    </message>
    <message>
        <source>1 file was not renamed and is no longer in the folder:</source>
        <translation>1 Datei wurde nicht umbenannt und ist nicht mehr im Ordner:</translation>
    </message>
    <message>
        <source>%1 files were not renamed and are no longer in the folder:</source>
        <translation>%1 Dateien wurden nicht umbenannt und sind nicht mehr im Ordner:</translation>
    </message>
    <message>
        <source>&amp;Rename Now</source>
        <translation>&amp;Jetzt umbenennen</translation>
    </message>
    <message>
        <source>Renaming &amp;Type:</source>
        <translation>Umbenennungs&amp;typ:</translation>
    </message>
    <message>
        <source>&amp;New Name:</source>
        <translation>&amp;Neuer Name:</translation>
    </message>
    <message>
        <source>&amp;Starting Number:</source>
        <translation>&amp;Startnummer:</translation>
    </message>
    <message>
        <source>File Fi&amp;lter:</source>
        <translation>Datei&amp;filter:</translation>
    </message>
    <message>
        <source>&amp;Pad numbers in file name with zeros (File001.jpg, File002.jpg, etc...)</source>
        <translation>Nummern im Dateinamen mit Nullen a&amp;uffüllen (Datei001.jpg, Datei002.jpg usw.)</translation>
    </message>
    <message>
        <source>Re&amp;member the last starting number used</source>
        <translation>Zuletzt verwendete Startnummer &amp;merken</translation>
    </message>
    <message>
        <source>Don&apos;t &amp;overwrite existing files if the new filename is already in use</source>
        <translation>&amp;Vorhandene Dateien nicht überschreiben, wenn der neue Dateiname schon vergeben ist</translation>
    </message>
    <message>
        <source>Choose a &amp;directory:</source>
        <translation>&amp;Ordner wählen:</translation>
    </message>
    <message>
        <source>Select the fil&amp;es you want to rename:</source>
        <translation>Wählen Sie die umzubenennenden Date&amp;ien:</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>New Extension</source>
        <translation>Neue Erweiterung</translation>
    </message>
    <message>
        <source>File Filter Extension</source>
        <translation>Erweiterung für den Dateifilter</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>&amp;Undo Last Rename</source>
        <translation>&amp;Letztes Umbenennen rückgängig machen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;View Help</source>
        <translation>Hilfe &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;About this software</source>
        <translation>Über dieses &amp;Programm</translation>
    </message>
    <message>
        <source>quillmere: %1 is not in %2; left out</source>
        <translation>quillmere: %1 liegt nicht in %2; ausgelassen</translation>
    </message>
    <message>
        <source>A&amp;bout</source>
        <translation>Übe&amp;r</translation>
    </message>
    <message>
        <source>Undone: 1 file has its name from before the rename again.</source>
        <translation>Rückgängig gemacht: 1 Datei hat wieder ihren Namen von vor dem Umbenennen.</translation>
    </message>
    <message>
        <source>Undone: %1 files have their names from before the rename again.</source>
        <translation>Rückgängig gemacht: %1 Dateien haben wieder ihre Namen von vor dem Umbenennen.</translation>
    </message>
    <message>
        <source>A rename is running; it can be undone once it has finished.</source>
        <translation>Ein Umbenennen läuft; es kann rückgängig gemacht werden, sobald es fertig ist.</translation>
    </message>
    <message>
        <source>Takes back the last rename in this folder.</source>
        <translation>Nimmt das letzte Umbenennen in diesem Ordner zurück.</translation>
    </message>
    <message>
        <source>No rename in this folder is left to undo.</source>
        <translation>In diesem Ordner ist kein Umbenennen mehr rückgängig zu machen.</translation>
    </message>
    <message>
        <source>Ru&amp;les...</source>
        <translation>&amp;Regeln...</translation>
    </message>
</context>
<context>
    <name>Form8</name>
    <message>
        <source>Readme/Help</source>
        <translation>Liesmich/Hilfe</translation>
    </message>
    <message>
        <source>Show at Startup</source>
        <translation>Beim Start anzeigen</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Hilfetext</translation>
    </message>
</context>
<context>
    <name>InsertPage</name>
    <message>
        <source>Text &amp;or template:</source>
        <translation>T&amp;ext oder Vorlage:</translation>
    </message>
    <message>
        <source>Tokens: {name} {ext} {n} {parent} {mtime:yyyy-MM-dd} {taken:yyyy-MM-dd}</source>
        <translation>Platzhalter: {name} {ext} {n} {parent} {mtime:yyyy-MM-dd} {taken:yyyy-MM-dd}</translation>
    </message>
</context>
<context>
    <name>NumberPage</name>
    <message>
        <source>Count bac&amp;kwards</source>
        <translation>U&amp;mgekehrt zählen</translation>
    </message>
    <message>
        <source>&amp;First number:</source>
        <translation>&amp;Erste Nummer:</translation>
    </message>
    <message>
        <source>Step si&amp;ze:</source>
        <translation>Schritt&amp;weite:</translation>
    </message>
    <message>
        <source>Zeros to fit the list</source>
        <translation>Nullen passend zur Liste</translation>
    </message>
    <message>
        <source>A fixed number of digits</source>
        <translation>Feste Anzahl Ziffern</translation>
    </message>
    <message>
        <source>No leading zeros</source>
        <translation>Keine führenden Nullen</translation>
    </message>
    <message>
        <source>&amp;Width:</source>
        <translation>Mit Nullen au&amp;ffüllen:</translation>
    </message>
    <message>
        <source>Di&amp;gits:</source>
        <translation>Anzahl &amp;der Ziffern:</translation>
    </message>
    <message>
        <source>&amp;Order:</source>
        <translation>S&amp;ortieren:</translation>
    </message>
</context>
<context>
    <name>PlaceFields</name>
    <message>
        <source>At the end</source>
        <translation>Am Ende</translation>
    </message>
    <message>
        <source>At the start</source>
        <translation>Am Anfang</translation>
    </message>
    <message>
        <source>Before the extension</source>
        <translation>Vor der Erweiterung</translation>
    </message>
    <message>
        <source>After a number of characters</source>
        <translation>Nach einer Anzahl Zeichen</translation>
    </message>
    <message>
        <source>In place of {n}</source>
        <translation>Anstelle von {n}</translation>
    </message>
    <message>
        <source>In place of the whole part (template)</source>
        <translation>Anstelle des ganzen Teils (Vorlage)</translation>
    </message>
    <message>
        <source>P&amp;lace:</source>
        <translation>S&amp;telle:</translation>
    </message>
    <message>
        <source>Aft&amp;er characters:</source>
        <translation>N&amp;ach Zeichen:</translation>
    </message>
</context>
<context>
    <name>PresetBar</name>
    <message>
        <source>Rule presets (*.rules);;All files (*)</source>
        <translation>Regelvorlagen (*.rules);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Save Preset</source>
        <translation>Vorlage speichern</translation>
    </message>
    <message>
        <source>Name of the preset:</source>
        <translation>Name der Vorlage:</translation>
    </message>
    <message>
        <source>Import Preset</source>
        <translation>Vorlage importieren</translation>
    </message>
    <message>
        <source>Export Preset</source>
        <translation>Vorlage exportieren</translation>
    </message>
    <message>
        <source>&amp;Preset:</source>
        <translation>&amp;Vorlage:</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Vorlage</translation>
    </message>
    <message>
        <source>(not saved)</source>
        <translation>(nicht gespeichert)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save preset</source>
        <translation>Vorlage speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save preset as</source>
        <translation>Vorlage speichern unter</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete preset</source>
        <translation>Vorlage löschen</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importieren...</translation>
    </message>
    <message>
        <source>Import preset</source>
        <translation>Vorlage importieren</translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>Export preset</source>
        <translation>Vorlage exportieren</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be the name of a preset: it may not hold &quot;/&quot; nor start with a dot.</source>
        <translation>„%1“ kann nicht der Name einer Vorlage sein: Er darf kein „/“ enthalten und nicht mit einem Punkt beginnen.</translation>
    </message>
    <message>
        <source>A preset named &quot;%1&quot; exists. Replace it?</source>
        <translation>Eine Vorlage namens „%1“ gibt es schon. Ersetzen?</translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation>Die Vorlage „%1“ löschen?</translation>
    </message>
    <message>
        <source>The preset &quot;%1&quot; cannot be deleted: %2</source>
        <translation>Die Vorlage „%1“ kann nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <source>rules</source>
        <translation>regeln</translation>
    </message>
</context>
<context>
    <name>PreviewModel</name>
    <message>
        <source>Current name</source>
        <translation>Jetziger Name</translation>
    </message>
    <message>
        <source>New name</source>
        <translation>Neuer Name</translation>
    </message>
    <message>
        <source>What will happen</source>
        <translation>Was geschieht</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Only files that will not simply be renamed</source>
        <translation>Nur Dateien, die nicht einfach umbenannt werden</translation>
    </message>
    <message>
        <source>Files and their new names</source>
        <translation>Dateien und ihre neuen Namen</translation>
    </message>
</context>
<context>
    <name>RenameRequest</name>
    <message>
        <source>You must enter a file name.</source>
        <translation>Sie müssen einen Dateinamen eingeben.</translation>
    </message>
    <message>
        <source>You must enter a file extension.</source>
        <translation>Sie müssen eine Dateierweiterung eingeben.</translation>
    </message>
    <message>
        <source>You must choose a starting number to increment filenames.</source>
        <translation>Sie müssen eine Startnummer wählen, um die Dateinamen hochzuzählen.</translation>
    </message>
    <message>
        <source>You must enter prefix.</source>
        <translation>Sie müssen ein Präfix eingeben.</translation>
    </message>
    <message>
        <source>You must enter suffix.</source>
        <translation>Sie müssen ein Suffix eingeben.</translation>
    </message>
</context>
<context>
    <name>RenamingOptions</name>
    <message>
        <source>Change both file name and extension</source>
        <translation>Dateiname und Erweiterung ändern</translation>
    </message>
    <message>
        <source>Change only the file name</source>
        <translation>Nur den Dateinamen ändern</translation>
    </message>
    <message>
        <source>Change only the extension</source>
        <translation>Nur die Erweiterung ändern</translation>
    </message>
    <message>
        <source>Add A Prefix</source>
        <translation>Ein Präfix hinzufügen</translation>
    </message>
    <message>
        <source>Add A Suffix</source>
        <translation>Ein Suffix hinzufügen</translation>
    </message>
    <message>
        <source>New Name:</source>
        <translation>Neuer Name:</translation>
    </message>
    <message>
        <source>New Prefix:</source>
        <translation>Neues Präfix:</translation>
    </message>
    <message>
        <source>New Suffix:</source>
        <translation>Neues Suffix:</translation>
    </message>
</context>
<context>
    <name>ReplacePage</name>
    <message>
        <source>&amp;Literal text, not an expression</source>
        <translation>&amp;Kein Ausdruck, Text wörtlich nehmen</translation>
    </message>
    <message>
        <source>I&amp;gnore case</source>
        <translation>Groß-/Kleinschreibung ign&amp;orieren</translation>
    </message>
    <message>
        <source>Find and replace</source>
        <translation>Suchen und ersetzen</translation>
    </message>
    <message>
        <source>Remove the first characters</source>
        <translation>Die ersten Zeichen entfernen</translation>
    </message>
    <message>
        <source>Remove the last characters</source>
        <translation>Die letzten Zeichen entfernen</translation>
    </message>
    <message>
        <source>Remove from one marker to another</source>
        <translation>Von einer Marke bis zur anderen entfernen</translation>
    </message>
    <message>
        <source>&amp;Form:</source>
        <translation>&amp;Form:</translation>
    </message>
    <message>
        <source>Replace wit&amp;h:</source>
        <translation>&amp;Ersetzen durch:</translation>
    </message>
    <message>
        <source>&amp;End marker:</source>
        <translation>En&amp;dmarke:</translation>
    </message>
    <message>
        <source>Every match</source>
        <translation>Jeder Treffer</translation>
    </message>
    <message>
        <source>The first match</source>
        <translation>Der erste Treffer</translation>
    </message>
    <message>
        <source>The last match</source>
        <translation>Der letzte Treffer</translation>
    </message>
    <message>
        <source>One match, by its number</source>
        <translation>Ein Treffer, nach seiner Nummer</translation>
    </message>
    <message>
        <source>&amp;Which matches:</source>
        <translation>&amp;Treffer:</translation>
    </message>
    <message>
        <source>Match n&amp;umber:</source>
        <translation>&amp;Welcher Treffer:</translation>
    </message>
    <message>
        <source>Number &amp;of characters:</source>
        <translation>&amp;Anzahl Zeichen:</translation>
    </message>
    <message>
        <source>Start mar&amp;ker:</source>
        <translation>Anfangs&amp;marke:</translation>
    </message>
    <message>
        <source>Loo&amp;k for:</source>
        <translation>Such&amp;muster:</translation>
    </message>
</context>
<context>
    <name>RuleListEditor</name>
    <message>
        <source>Rules</source>
        <translation>Regeln</translation>
    </message>
    <message>
        <source>Rule lis&amp;t:</source>
        <translation>Re&amp;geln:</translation>
    </message>
    <message>
        <source>&amp;Replace text</source>
        <translation>&amp;Text ersetzen</translation>
    </message>
    <message>
        <source>Change &amp;case</source>
        <translation>&amp;Groß-/Kleinschreibung ändern</translation>
    </message>
    <message>
        <source>&amp;Number the files</source>
        <translation>Dateien &amp;nummerieren</translation>
    </message>
    <message>
        <source>&amp;Insert text or template</source>
        <translation>Text oder Vorlage &amp;einfügen</translation>
    </message>
    <message>
        <source>C&amp;lean up the names</source>
        <translation>Namen &amp;bereinigen</translation>
    </message>
    <message>
        <source>&amp;New rule</source>
        <translation>Regel hin&amp;zufügen</translation>
    </message>
    <message>
        <source>Re&amp;move</source>
        <translation>Entfe&amp;rnen</translation>
    </message>
    <message>
        <source>Remove the rule (Delete)</source>
        <translation>Regel entfernen (Entf)</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move the rule up (Ctrl+Up)</source>
        <translation>Regel nach oben schieben (Strg+Nach-oben)</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Move the rule down (Ctrl+Down)</source>
        <translation>Regel nach unten schieben (Strg+Nach-unten)</translation>
    </message>
    <message>
        <source>Appl&amp;y to:</source>
        <translation>&amp;Bereich:</translation>
    </message>
    <message>
        <source>Choose a rule in the list, or add one with &quot;New rule&quot;.</source>
        <translation>Wählen Sie eine Regel in der Liste, oder fügen Sie mit „Regel hinzufügen“ eine hinzu.</translation>
    </message>
</context>
<context>
    <name>RuleSummary</name>
    <message>
        <source>&quot;%1&quot;</source>
        <extracomment>Quotation marks around a text the user typed.</extracomment>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>name without extension</source>
        <translation>Name ohne Erweiterung</translation>
    </message>
    <message>
        <source>extension</source>
        <translation>Erweiterung</translation>
    </message>
    <message>
        <source>whole name</source>
        <translation>ganzer Name</translation>
    </message>
    <message>
        <source>at the start</source>
        <translation>am Anfang</translation>
    </message>
    <message>
        <source>at the end</source>
        <translation>am Ende</translation>
    </message>
    <message>
        <source>before the extension</source>
        <translation>vor der Erweiterung</translation>
    </message>
    <message>
        <source>after 1 character</source>
        <translation>nach 1 Zeichen</translation>
    </message>
    <message>
        <source>after %1 characters</source>
        <translation>nach %1 Zeichen</translation>
    </message>
    <message>
        <source>in place of {n}</source>
        <translation>anstelle von {n}</translation>
    </message>
    <message>
        <source>in place of the whole part</source>
        <translation>anstelle des ganzen Teils</translation>
    </message>
    <message>
        <source>in list order</source>
        <translation>in Listenreihenfolge</translation>
    </message>
    <message>
        <source>in natural order</source>
        <translation>in natürlicher Reihenfolge</translation>
    </message>
    <message>
        <source>by name</source>
        <translation>nach Name</translation>
    </message>
    <message>
        <source>by modified time</source>
        <translation>nach Änderungszeit</translation>
    </message>
    <message>
        <source>by size</source>
        <translation>nach Größe</translation>
    </message>
    <message>
        <source>by date taken</source>
        <translation>nach Aufnahmedatum</translation>
    </message>
    <message>
        <source>Lower case</source>
        <translation>Kleinbuchstaben</translation>
    </message>
    <message>
        <source>Upper case</source>
        <translation>Großbuchstaben</translation>
    </message>
    <message>
        <source>Title case</source>
        <translation>Wortanfänge groß</translation>
    </message>
    <message>
        <source>Sentence case</source>
        <translation>Satzanfang groß</translation>
    </message>
    <message>
        <source>Spell letters in ASCII</source>
        <translation>Buchstaben in ASCII schreiben</translation>
    </message>
    <message>
        <source>Make names Windows can hold</source>
        <translation>Namen, die Windows speichern kann</translation>
    </message>
    <message>
        <source>Tidy up spaces</source>
        <translation>Leerzeichen aufräumen</translation>
    </message>
    <message>
        <source>Spaces to underscores</source>
        <translation>Leerzeichen zu Unterstrichen</translation>
    </message>
    <message>
        <source>Underscores to spaces</source>
        <translation>Unterstriche zu Leerzeichen</translation>
    </message>
    <message>
        <source>Compose Unicode characters (NFC)</source>
        <translation>Unicode-Zeichen zusammensetzen (NFC)</translation>
    </message>
    <message>
        <source>Remove the first character</source>
        <translation>Das erste Zeichen entfernen</translation>
    </message>
    <message>
        <source>Remove the first %1 characters</source>
        <translation>Die ersten %1 Zeichen entfernen</translation>
    </message>
    <message>
        <source>Remove the last character</source>
        <translation>Das letzte Zeichen entfernen</translation>
    </message>
    <message>
        <source>Remove the last %1 characters</source>
        <translation>Die letzten %1 Zeichen entfernen</translation>
    </message>
    <message>
        <source>Remove from %1 to %2</source>
        <translation>Von %1 bis %2 entfernen</translation>
    </message>
    <message>
        <source>ignoring case</source>
        <translation>ohne Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>Remove %1</source>
        <translation>%1 entfernen</translation>
    </message>
    <message>
        <source>Replace %1 with %2</source>
        <translation>%1 durch %2 ersetzen</translation>
    </message>
    <message>
        <source>first match only</source>
        <translation>nur der erste Treffer</translation>
    </message>
    <message>
        <source>last match only</source>
        <translation>nur der letzte Treffer</translation>
    </message>
    <message>
        <source>match %1 only</source>
        <translation>nur Treffer %1</translation>
    </message>
    <message>
        <source>as plain text</source>
        <translation>als reiner Text</translation>
    </message>
    <message>
        <source>Number %1 from %2</source>
        <translation>Nummer %1 ab %2</translation>
    </message>
    <message>
        <source>step %1</source>
        <translation>Schritt %1</translation>
    </message>
    <message>
        <source>1 digit</source>
        <translation>1 Ziffer</translation>
    </message>
    <message>
        <source>%1 digits</source>
        <translation>%1 Ziffern</translation>
    </message>
    <message>
        <source>no leading zeros</source>
        <translation>ohne führende Nullen</translation>
    </message>
    <message>
        <source>reversed</source>
        <translation>umgekehrt</translation>
    </message>
    <message>
        <source>Template %1</source>
        <translation>Vorlage %1</translation>
    </message>
    <message>
        <source>Insert %1 %2</source>
        <translation>%1 %2 einfügen</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>%1 is what the rule does, %2 the part of the name it works on.</extracomment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>RuleText</name>
    <message>
        <source>the transliteration to ASCII is not available (%1)</source>
        <translation>die Umschrift in ASCII ist nicht verfügbar (%1)</translation>
    </message>
    <message>
        <source>the token {%1} takes no format</source>
        <translation>der Platzhalter {%1} nimmt kein Format</translation>
    </message>
    <message>
        <source>unknown token {%1}: use {name}, {ext}, {n}, {parent}, {mtime} or {taken}</source>
        <translation>unbekannter Platzhalter {%1}: {name}, {ext}, {n}, {parent}, {mtime} oder {taken} verwenden</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not one of %2</source>
        <translation>„%1“ ist keines von %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither yes nor no</source>
        <translation>„%1“ ist weder yes noch no</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no whole number</source>
        <translation>„%1“ ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>unknown key &quot;%1&quot;</source>
        <translation>unbekannter Schlüssel „%1“</translation>
    </message>
    <message>
        <source>the preset &quot;%1&quot; cannot be read: %2</source>
        <translation>die Vorlage „%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>this is no rule preset: it must start with &quot;%1 %2&quot;</source>
        <translation>dies ist keine Regelvorlage: sie muss mit „%1 %2“ beginnen</translation>
    </message>
    <message>
        <source>the preset is of version %1, newer than this program reads (%2)</source>
        <translation>die Vorlage hat die Version %1, neuer als dieses Programm liest (%2)</translation>
    </message>
    <message>
        <source>a line must be &quot;[rule]&quot; or &quot;key = value&quot;</source>
        <translation>eine Zeile muss „[rule]“ oder „Schlüssel = Wert“ sein</translation>
    </message>
    <message>
        <source>a setting before the first &quot;[rule]&quot;</source>
        <translation>eine Einstellung vor dem ersten „[rule]“</translation>
    </message>
    <message>
        <source>%1, line %2: %3</source>
        <translation>%1, Zeile %2: %3</translation>
    </message>
    <message>
        <source>%1: the preset is empty</source>
        <translation>%1: die Vorlage ist leer</translation>
    </message>
    <message>
        <source>a preset cannot keep a text with a line break</source>
        <translation>eine Vorlage kann keinen Text mit Zeilenumbruch aufnehmen</translation>
    </message>
    <message>
        <source>the preset &quot;%1&quot; cannot be written: %2</source>
        <translation>die Vorlage „%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>both markers are needed</source>
        <translation>beide Markierungen werden gebraucht</translation>
    </message>
    <message>
        <source>the text to find is empty</source>
        <translation>der zu suchende Text ist leer</translation>
    </message>
    <message>
        <source>the expression &quot;%1&quot; does not compile: %2 at character %3</source>
        <translation>der Ausdruck „%1“ lässt sich nicht übersetzen: %2 bei Zeichen %3</translation>
    </message>
    <message>
        <source>the match to replace is counted from 1</source>
        <translation>der zu ersetzende Treffer wird ab 1 gezählt</translation>
    </message>
    <message>
        <source>the replacement names the group &quot;%1&quot;, which the expression does not have</source>
        <translation>die Ersetzung nennt die Gruppe „%1“, die der Ausdruck nicht hat</translation>
    </message>
    <message>
        <source>the replacement has &quot;${&quot; without its &quot;}&quot;</source>
        <translation>die Ersetzung enthält „${“ ohne sein „}“</translation>
    </message>
    <message>
        <source>rule %1 (%2)</source>
        <extracomment>%2 is the rule&apos;s kind as the command line and presets write it (replace, case, number, insert, clean), never translated.</extracomment>
        <translation>Regel %1 (%2)</translation>
    </message>
    <message>
        <source>unknown kind of rule</source>
        <translation>unbekannte Art von Regel</translation>
    </message>
    <message>
        <source>: the expression ran past its match limit on &quot;%1&quot;; simplify it</source>
        <translation>: der Ausdruck hat bei „%1“ seine Suchgrenze überschritten; bitte vereinfachen</translation>
    </message>
    <message>
        <source>no date taken in the file; its modified time was used</source>
        <translation>die Datei enthält kein Aufnahmedatum; ihre Änderungszeit wurde verwendet</translation>
    </message>
    <message>
        <source>&quot;%1&quot; and &quot;%2&quot; would both be renamed to &quot;%3&quot;; nothing was renamed</source>
        <translation>„%1“ und „%2“ würden beide in „%3“ umbenannt; nichts wurde umbenannt</translation>
    </message>
</context>
<context>
    <name>RulesPreviewPane</name>
    <message>
        <source>Pre&amp;view:</source>
        <translation>Vorsc&amp;hau:</translation>
    </message>
    <message>
        <source>Only rows with pro&amp;blems</source>
        <translation>Nur Zeilen mit &amp;Problemen</translation>
    </message>
    <message>
        <source>Only rows with problems</source>
        <translation>Nur Zeilen mit Problemen</translation>
    </message>
    <message>
        <source>Files and their new names</source>
        <translation>Dateien und ihre neuen Namen</translation>
    </message>
</context>
<context>
    <name>RulesWindow</name>
    <message>
        <source>Rules</source>
        <translation>Regeln</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>Umbe&amp;nennen</translation>
    </message>
    <message>
        <source>Rename with these rules</source>
        <translation>Mit diesen Regeln umbenennen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Existing files are kept: a name that is taken gets &quot;_&quot;. (Set in the main window.)</source>
        <translation>Vorhandene Dateien bleiben erhalten: Ein vergebener Name erhält „_“. (Im Hauptfenster eingestellt.)</translation>
    </message>
    <message>
        <source>Existing files are replaced by files renamed to their names. (Set in the main window.)</source>
        <translation>Vorhandene Dateien werden durch Dateien ersetzt, die ihren Namen erhalten. (Im Hauptfenster eingestellt.)</translation>
    </message>
    <message>
        <source>A rename is running.</source>
        <translation>Eine Umbenennung läuft.</translation>
    </message>
    <message>
        <source>The preview is being worked out.</source>
        <translation>Die Vorschau wird berechnet.</translation>
    </message>
    <message>
        <source>These rules cannot be used on these files; the preview says why.</source>
        <translation>Diese Regeln können auf diese Dateien nicht angewendet werden; die Vorschau sagt, warum.</translation>
    </message>
    <message>
        <source>No file is selected in the main window.</source>
        <translation>Im Hauptfenster ist keine Datei ausgewählt.</translation>
    </message>
</context>
<context>
    <name>RunText</name>
    <message>
        <source>the new name is empty</source>
        <translation>der neue Name ist leer</translation>
    </message>
    <message>
        <source>the new name leaves the folder</source>
        <translation>der neue Name führt aus dem Ordner hinaus</translation>
    </message>
    <message>
        <source>the new name holds a NUL character, which file names cannot hold</source>
        <translation>der neue Name enthält ein NUL-Zeichen, das Dateinamen nicht enthalten können</translation>
    </message>
    <message>
        <source>the new name is longer than the file system allows</source>
        <translation>der neue Name ist länger, als das Dateisystem erlaubt</translation>
    </message>
    <message>
        <source>the folder cannot be written: </source>
        <translation>in den Ordner kann nicht geschrieben werden: </translation>
    </message>
    <message>
        <source>the folder cannot be read</source>
        <translation>der Ordner kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the file is listed more than once</source>
        <translation>die Datei ist mehr als einmal aufgeführt</translation>
    </message>
    <message>
        <source>the new name is the file&apos;s current name</source>
        <translation>der neue Name ist der jetzige Name der Datei</translation>
    </message>
    <message>
        <source>; it could not be put back under its own name and is now &quot;%1&quot;%2</source>
        <translation>; sie konnte nicht unter ihren eigenen Namen zurückgebracht werden und heißt jetzt &quot;%1&quot;%2</translation>
    </message>
    <message>
        <source>; a file renamed in this run took its name, so it is now &quot;%1&quot;</source>
        <translation>; eine in diesem Lauf umbenannte Datei hat ihren Namen übernommen, daher heißt sie jetzt &quot;%1&quot;</translation>
    </message>
    <message>
        <source>a file with the new name already exists, and no free variant of the name fits the file system</source>
        <translation>eine Datei mit dem neuen Namen ist schon vorhanden, und keine freie Variante des Namens passt in das Dateisystem</translation>
    </message>
    <message>
        <source>the rename failed: </source>
        <translation>das Umbenennen ist fehlgeschlagen: </translation>
    </message>
    <message>
        <source>the selected file &quot;%1&quot; has the new name and could not be moved out of the way: %2</source>
        <translation>die gewählte Datei &quot;%1&quot; trägt den neuen Namen und konnte nicht aus dem Weg geräumt werden: %2</translation>
    </message>
    <message>
        <source>a folder or other entry that is not a file has the new name</source>
        <translation>ein Ordner oder anderer Eintrag, der keine Datei ist, trägt den neuen Namen</translation>
    </message>
    <message>
        <source>no free temporary name</source>
        <translation>kein freier vorübergehender Name</translation>
    </message>
    <message>
        <source>the file is a link to &quot;%1&quot;, and under that name it would point at itself</source>
        <translation>die Datei ist eine Verknüpfung auf &quot;%1&quot; und würde unter diesem Namen auf sich selbst zeigen</translation>
    </message>
    <message>
        <source>Another rename is running in the folder &quot;%1&quot;. Nothing was renamed; try again when it has finished.</source>
        <translation>Im Ordner &quot;%1&quot; läuft schon ein anderes Umbenennen. Es wurde nichts umbenannt; versuchen Sie es wieder, wenn es fertig ist.</translation>
    </message>
    <message>
        <source>the run was stopped before this file&apos;s turn</source>
        <translation>der Lauf wurde angehalten, bevor diese Datei an der Reihe war</translation>
    </message>
    <message>
        <source>the running number cannot go past 2147483647</source>
        <translation>die laufende Nummer kann nicht über 2147483647 hinaus</translation>
    </message>
    <message>
        <source>the running number &quot;%1&quot; is no whole number and cannot advance</source>
        <translation>die laufende Nummer &quot;%1&quot; ist keine ganze Zahl und kann nicht weiterzählen</translation>
    </message>
    <message>
        <source>several names in the folder lead to the file; it is left as it is</source>
        <translation>mehrere Namen im Ordner führen zu der Datei; sie bleibt, wie sie ist</translation>
    </message>
    <message>
        <source>another file now has the name &quot;%1&quot;; it is left as it is</source>
        <translation>eine andere Datei trägt jetzt den Namen &quot;%1&quot;; sie bleibt, wie sie ist</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is no longer in the folder</source>
        <translation>die Datei &quot;%1&quot; ist nicht mehr im Ordner</translation>
    </message>
    <message>
        <source>it could not be moved out of the way: %1</source>
        <translation>sie konnte nicht aus dem Weg geräumt werden: %1</translation>
    </message>
    <message>
        <source>another file now has its old name &quot;%1&quot;; it is left as &quot;%2&quot;</source>
        <translation>eine andere Datei trägt jetzt ihren alten Namen &quot;%1&quot;; sie bleibt als &quot;%2&quot;</translation>
    </message>
    <message>
        <source>it could not be moved back to &quot;%1&quot;: %2</source>
        <translation>sie konnte nicht nach &quot;%1&quot; zurückgebracht werden: %2</translation>
    </message>
    <message>
        <source>the run replaced the file &quot;%1&quot; where no trash could keep it; its content is gone</source>
        <translation>der Lauf hat die Datei &quot;%1&quot; ersetzt, wo kein Papierkorb sie aufbewahren konnte; ihr Inhalt ist verloren</translation>
    </message>
    <message>
        <source>the file the run replaced is no longer in the trash as &quot;%1&quot;</source>
        <translation>die Datei, die der Lauf ersetzt hat, ist nicht mehr als &quot;%1&quot; im Papierkorb</translation>
    </message>
    <message>
        <source>another file now has the name &quot;%1&quot;; the file the run replaced stays in the trash as &quot;%2&quot;</source>
        <translation>eine andere Datei trägt jetzt den Namen &quot;%1&quot;; die Datei, die der Lauf ersetzt hat, bleibt als &quot;%2&quot; im Papierkorb</translation>
    </message>
    <message>
        <source>it could not be brought back from the trash: %1</source>
        <translation>sie konnte nicht aus dem Papierkorb zurückgeholt werden: %1</translation>
    </message>
    <message>
        <source>Cannot read the folder &quot;%1&quot;: %2</source>
        <translation>Der Ordner &quot;%1&quot; kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>No rename in the folder &quot;%1&quot; is left to undo.</source>
        <translation>Im Ordner &quot;%1&quot; ist kein Umbenennen mehr rückgängig zu machen.</translation>
    </message>
    <message>
        <source>1 file could not be put back:</source>
        <translation>1 Datei konnte nicht zurückgebracht werden:</translation>
    </message>
    <message>
        <source>%1 files could not be put back:</source>
        <translation>%1 Dateien konnten nicht zurückgebracht werden:</translation>
    </message>
    <message>
        <source>

1 other file was put back.</source>
        <translation>

1 andere Datei wurde zurückgebracht.</translation>
    </message>
    <message>
        <source>

%1 other files were put back.</source>
        <translation>

%1 andere Dateien wurden zurückgebracht.</translation>
    </message>
    <message>
        <source>A rename in the folder &quot;%1&quot; was cut off and left it half-renamed. Open that folder and choose &quot;Undo Last Rename&quot; in the File menu to put it back as it was.</source>
        <translation>Ein Umbenennen im Ordner &quot;%1&quot; wurde abgebrochen und hat ihn halb umbenannt zurückgelassen. Öffnen Sie diesen Ordner und wählen Sie &quot;Letztes Umbenennen rückgängig machen&quot; im Menü Datei, um ihn wiederherzustellen, wie er war.</translation>
    </message>
    <message>
        <source>Renames in these folders were cut off and left them half-renamed:
%1

Open each folder and choose &quot;Undo Last Rename&quot; in the File menu to put it back as it was.</source>
        <translation>Umbenennungen in diesen Ordnern wurden abgebrochen und haben sie halb umbenannt zurückgelassen:
%1

Öffnen Sie jeden Ordner und wählen Sie &quot;Letztes Umbenennen rückgängig machen&quot; im Menü Datei, um ihn wiederherzustellen, wie er war.</translation>
    </message>
    <message>
        <source>cannot make the folder &quot;%1&quot;</source>
        <translation>der Ordner &quot;%1&quot; kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>cannot write in &quot;%1&quot;: %2</source>
        <translation>in &quot;%1&quot; kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot write the journal &quot;%1&quot;: %2</source>
        <translation>das Protokoll &quot;%1&quot; kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>no trash</source>
        <translation>kein Papierkorb</translation>
    </message>
    <message>
        <source>the file is no longer in the trash</source>
        <translation>die Datei ist nicht mehr im Papierkorb</translation>
    </message>
    <message>
        <source>renamed</source>
        <translation>umbenannt</translation>
    </message>
    <message>
        <source>gets &quot;_&quot; because the name is taken</source>
        <translation>erhält &quot;_&quot;, weil der Name vergeben ist</translation>
    </message>
    <message>
        <source>replaces an existing file</source>
        <translation>ersetzt eine vorhandene Datei</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>unverändert</translation>
    </message>
    <message>
        <source>left in place</source>
        <translation>bleibt an ihrem Platz</translation>
    </message>
    <message>
        <source>left in place: </source>
        <translation>bleibt an ihrem Platz: </translation>
    </message>
    <message>
        <source>the folder no longer exists</source>
        <translation>der Ordner existiert nicht mehr</translation>
    </message>
    <message>
        <source>it is no longer in the folder</source>
        <translation>sie ist nicht mehr im Ordner</translation>
    </message>
    <message>
        <source>the file is a link to the file that has the new name</source>
        <translation>die Datei ist eine Verknüpfung auf die Datei, die den neuen Namen trägt</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; that has the new name could not be put in a trash (%2), so it was not replaced</source>
        <translation>die Datei &quot;%1&quot;, die den neuen Namen trägt, konnte nicht in einen Papierkorb gelegt werden (%2) und wurde daher nicht ersetzt</translation>
    </message>
    <message>
        <source>a file of that name is in the trash already</source>
        <translation>eine Datei dieses Namens liegt schon im Papierkorb</translation>
    </message>
    <message>
        <source>the run&apos;s journal &quot;%1&quot; could not be written: %2</source>
        <translation>das Protokoll &quot;%1&quot; des Laufs konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>another file took the new name while the run went on, and was not replaced</source>
        <translation>eine andere Datei hat den neuen Namen während des Laufs erhalten und wurde nicht ersetzt</translation>
    </message>
    <message>
        <source>; the file that had the new name is in the trash as &quot;%1&quot;</source>
        <translation>; die Datei, die den neuen Namen trug, liegt im Papierkorb als &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Nothing was renamed in the folder &quot;%1&quot;: the journal from which the rename could be undone cannot be written (%2).</source>
        <translation>Im Ordner &quot;%1&quot; wurde nichts umbenannt: Das Protokoll, mit dem sich das Umbenennen rückgängig machen ließe, kann nicht geschrieben werden (%2).</translation>
    </message>
    <message>
        <source>the journal &quot;%1&quot; could not be written to its end (%2): undo can take back only the moves it recorded before, and no file was replaced after</source>
        <translation>das Protokoll &quot;%1&quot; konnte nicht bis zum Ende geschrieben werden (%2): Rückgängig machen kann nur die Umbenennungen zurücknehmen, die es davor festhielt, und danach wurde keine Datei ersetzt</translation>
    </message>
    <message>
        <source>cannot make the folder &quot;%1&quot;: %2</source>
        <translation>der Ordner &quot;%1&quot; kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>cannot read &quot;%1&quot;: %2</source>
        <translation>&quot;%1&quot; kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder of this user&apos;s own</source>
        <translation>&quot;%1&quot; ist kein eigener Ordner dieses Benutzers</translation>
    </message>
    <message>
        <source>cannot open the trash &quot;%1&quot;: %2</source>
        <translation>der Papierkorb &quot;%1&quot; kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>the trash &quot;%1&quot; is on another device</source>
        <translation>der Papierkorb &quot;%1&quot; liegt auf einem anderen Gerät</translation>
    </message>
    <message>
        <source>the top of the folder&apos;s file system cannot be found</source>
        <translation>die Wurzel des Dateisystems des Ordners kann nicht gefunden werden</translation>
    </message>
    <message>
        <source>cannot write &quot;%1&quot;: %2</source>
        <translation>&quot;%1&quot; kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the trash entry &quot;%1&quot; is not the file the run replaced; it is left there</source>
        <translation>der Eintrag &quot;%1&quot; im Papierkorb ist nicht die Datei, die der Lauf ersetzt hat; er bleibt dort</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a name in the folder</source>
        <translation>&quot;%1&quot; ist kein Name im Ordner</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a name in the trash</source>
        <translation>&quot;%1&quot; ist kein Name im Papierkorb</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a trash of the folder</source>
        <translation>&quot;%1&quot; ist kein Papierkorb des Ordners</translation>
    </message>
    <message>
        <source>The last recorded rename of &quot;%1&quot; was made in a folder that has been deleted since; this folder only took its place. Nothing was moved.</source>
        <translation>Das zuletzt aufgezeichnete Umbenennen von &quot;%1&quot; geschah in einem Ordner, der inzwischen gelöscht wurde; dieser Ordner hat nur seinen Platz eingenommen. Es wurde nichts verschoben.</translation>
    </message>
    <message>
        <source>The record &quot;%1&quot; of the last rename in &quot;%2&quot; is damaged: %3. Nothing was moved.</source>
        <translation>Die Aufzeichnung &quot;%1&quot; des letzten Umbenennens in &quot;%2&quot; ist beschädigt: %3. Es wurde nichts verschoben.</translation>
    </message>
    <message>
        <source>Renamed: %1 · Gets &quot;_&quot;: %2 · Replaces an existing file: %3 · Unchanged: %4 · Left in place: %5</source>
        <translation>Umbenannt: %1 · Mit „_“: %2 · Ersetzt eine vorhandene Datei: %3 · Unverändert: %4 · An ihrem Platz belassen: %5</translation>
    </message>
    <message>
        <source>no free name in the trash &quot;%1&quot;</source>
        <translation>kein freier Name im Papierkorb &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>StartArguments</name>
    <message>
        <source>quillmere: %1
Try &apos;quillmere --help&apos; for more information.
</source>
        <translation>quillmere: %1
„quillmere --help“ liefert weitere Informationen.
</translation>
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
        <translation>Aufruf: quillmere [ORDNER | DATEI...]
Öffnet das Fenster des Massen-Umbenenners. Mit ORDNER zeigt die Dateiliste
diesen Ordner; mit DATEI zeigt sie den Ordner der Datei, mit der Datei
ausgewählt (weitere Dateien desselben Ordners werden ebenfalls ausgewählt).
Ohne Argument öffnet sich das Fenster mit dem zuletzt benutzten Ordner.

  -h, --help     diese Hilfe anzeigen und beenden
  -V, --version  Versionsinformation anzeigen und beenden

Rückgabewert:
 0  wenn das Fenster geschlossen wurde,
 2  wenn die Befehlszeile nicht verwendet werden konnte.
</translation>
    </message>
    <message>
        <source>unrecognized option &apos;%1&apos;</source>
        <translation>unbekannte Option »%1«</translation>
    </message>
    <message>
        <source>invalid option -- &apos;%1&apos;</source>
        <translation>ungültige Option -- »%1«</translation>
    </message>
    <message>
        <source>an empty name is no folder</source>
        <translation>ein leerer Name ist kein Ordner</translation>
    </message>
</context>
<context>
    <name>UnreadableFolder</name>
    <message>
        <source>it does not exist</source>
        <translation>er existiert nicht</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>er ist kein Ordner</translation>
    </message>
    <message>
        <source>access is denied</source>
        <translation>der Zugriff wird verweigert</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Owned By:</source>
        <translation>Eigentümer:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Warning: this computer program is protected by copyright law. The program is licensed, not sold; its owner keeps every right not granted by the licence. Copying or passing on this program, or any part of it, other than as the licence allows is not permitted.</source>
        <translation>Warnung: Dieses Computerprogramm ist urheberrechtlich geschützt. Das Programm wird lizenziert, nicht verkauft; sein Eigentümer behält jedes Recht, das die Lizenz nicht gewährt. Das Kopieren oder Weitergeben dieses Programms oder eines Teils davon ist nur erlaubt, soweit die Lizenz es gestattet.</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
</context>
</TS>
