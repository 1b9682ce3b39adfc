#pragma once

#include "rename/RenamePreview.h"

// A short name of each preview outcome, for rows a test writes out as text.
inline const char *PreviewOutcomeName(PreviewOutcome outcome)
{
    switch (outcome) {
    case PreviewOutcome::Renamed: return "renamed";
    case PreviewOutcome::FreeVariant: return "variant";
    case PreviewOutcome::Replaces: return "replaces";
    case PreviewOutcome::Unchanged: return "unchanged";
    case PreviewOutcome::LeftInPlace: return "left";
    }
    return "?";
}
