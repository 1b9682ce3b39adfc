#include "rename/RunTypes.h"

#include "rename/RunText.h"

namespace {

class SystemOperations final : public RenameFileOperations
{
public:
    Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error) override
    {
        return folder.move(fromName, toName, mode, error);
    }
};

class SimulatedOperations final : public RenameFileOperations
{
public:
    Outcome renameFile(const FolderHandle &, const QString &, const QString &, Mode, QString *) override
    {
        return Outcome::Done;
    }

    QString folderProblem(const FolderHandle &folder) override
    {
        QString whyNot;
        return folder.isWritable(&whyNot) ? QString() : RunText::tr("the folder cannot be written: ") + whyNot;
    }

    bool changesFolder() const override { return false; }
};

} // namespace

RenameFileOperations &SystemFileOperations()
{
    static SystemOperations operations;
    return operations;
}

RenameFileOperations &SimulatedFileOperations()
{
    static SimulatedOperations operations;
    return operations;
}
