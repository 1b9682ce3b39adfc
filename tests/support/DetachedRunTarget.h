#pragma once

#include "rename/RenameRun.h"

#include <QList>
#include <QString>

// A run target without a window: keeps what the run reports, every progress
// value and every file renamed in order, and counts the refreshes.
class DetachedRunTarget : public RenameRunTarget
{
public:
    QString number;
    QString filter;
    float progress = 0.0F;
    QList<float> progressHistory;
    QList<RenamedFile> renamedAsDone;
    int refreshCount = 0;

    void setNumberText(const QString &text) override { number = text; }
    void setProgressValue(float percent) override
    {
        progress = percent;
        progressHistory.append(percent);
    }
    void setFilterText(const QString &text) override { filter = text; }
    void refreshLists() override { ++refreshCount; }
    void fileRenamed(const RenamedFile &file) override { renamedAsDone.append(file); }
};
