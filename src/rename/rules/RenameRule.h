#pragma once

#include <QString>
#include <QtGlobal>

// One step of a rule list: what it does to a name, which part of the name it
// sees, and whether it is on. A plain value: every kind's settings are
// here, and a kind reads only its own.
struct RenameRule
{
    enum class Kind : quint8 { Replace, Case, Number, Insert, CleanUp };
    // The part of a name a rule sees. The extension is what follows the last
    // dot; a name whose only dot leads it (".bashrc") has none.
    enum class Scope : quint8 { Stem, Extension, Name };

    enum class ReplaceForm : quint8 { Pattern, RemoveFirst, RemoveLast, RemoveBetween };
    enum class Occurrence : quint8 { All, First, Last, Nth };
    enum class CaseForm : quint8 { Lower, Upper, Title, Sentence };
    // Where a number or an inserted text goes. Whole replaces the part the
    // rule sees (a template); Token stands where "{n}" stands in the name.
    enum class Place : quint8 { Start, End, BeforeExtension, Position, Token, Whole };
    enum class Width : quint8 { Auto, Fixed, None };
    enum class Order : quint8 { List, Natural, Name, Modified, Size, Taken };
    enum class CleanUp : quint8 { Ascii, Windows, CollapseSpaces, SpacesToUnderscores, UnderscoresToSpaces, Nfc };

    Kind kind = Kind::Replace;
    bool enabled = true;
    Scope scope = Scope::Stem;

    // Replace: find is the expression (or the literal text, or the opening
    // marker of RemoveBetween, whose closing marker is endMarker).
    ReplaceForm replaceForm = ReplaceForm::Pattern;
    QString find;
    QString replacement;
    QString endMarker;
    bool literal = false;
    bool ignoreCase = false;
    Occurrence occurrence = Occurrence::All;
    int nth = 1;   // Occurrence::Nth, from 1
    int count = 0; // characters RemoveFirst and RemoveLast take away

    CaseForm caseForm = CaseForm::Lower;

    // Number and Insert.
    Place place = Place::End;
    int position = 0; // Place::Position: characters before the insertion point
    qint64 start = 1;
    qint64 step = 1;
    Width widthMode = Width::Auto;
    int width = 0; // Width::Fixed
    Order order = Order::List;
    bool reverse = false;
    QString text; // Insert: the text or template, with its tokens

    CleanUp cleanUp = CleanUp::Windows;

    bool operator==(const RenameRule &) const = default;
};
