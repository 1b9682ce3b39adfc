#pragma once

#include "rename/RenameRun.h"

#include <QString>

// The message after a run that left files where they were: the files named,
// grouped by reason, those no longer in the folder listed apart, at most a
// dozen in all.
QString DescribeLeftInPlace(const QString &folder, const RenameReport &report, bool folderGone);

// The nearest folder at or above `folder` that is there; the root at worst.
QString NearestExistingFolder(QString folder);
