#pragma once

#include <QList>
#include <QString>

class QIODevice;

// What can be wrong with one entry of a translation file (.ts).
struct TsProblem
{
    enum Kind {
        Unreadable,    // not a translation file
        Unfinished,    // no translation yet, or one marked unfinished
        Leftover,      // an entry whose text is no longer in the sources
        Placeholders,  // %1, %2, ... or %n differ between text and translation
        LineEnd,       // the text and the translation end differently (line break, blank)
    };

    Kind kind;
    QString context;
    QString source;

    QString describe() const;
};

// Every problem of the translation file read from `device`, in file order.
QList<TsProblem> CheckTranslationFile(QIODevice &device);
