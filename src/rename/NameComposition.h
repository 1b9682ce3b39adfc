#pragma once

#include "rename/RenameRequest.h"

#include <QString>
#include <optional>

// The message that refuses the request, or nothing when it may run.
std::optional<QString> ValidateRenameRequest(const RenameRequest &request);

struct SplitName
{
    QString base;
    QString extension; // from the last dot to the end, dot included; empty without a dot
};

SplitName SplitExtension(const QString &fileName);

// Width the running number is zero-filled to for a list of entryCount
// entries: one more than the digits of entryCount, at least 3.
int ZeroFillWidth(int entryCount);

// numberText left-filled with "0" to ZeroFillWidth(entryCount) characters.
QString PadNumber(const QString &numberText, int entryCount);

// The new name (no folder) of the file fileName; numberText is the running
// number at the moment this file is handled.
QString ComposeNewName(const QString &fileName, const RenameRequest &request, const QString &numberText);
