#pragma once

#include <QtGlobal>

// The renaming type is the selected index of the type box; -1 means no entry
// of the box is selected (first start, or text typed into the box) and acts
// like NameOnly except in the filter rule at the end of a run.
enum RenamingType : qint16 {
    NoTypeChosen = -1,
    BothNameAndExtension = 0,
    NameOnly = 1,
    ExtensionOnly = 2,
    AddPrefix = 3,
    AddSuffix = 4,
};

// Whether new names of this type carry the running number.
constexpr bool PutsNumberInName(RenamingType type)
{
    return type != ExtensionOnly && type != AddPrefix && type != AddSuffix;
}
