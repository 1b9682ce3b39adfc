#pragma once

#include <QString>

// Why a folder the lists were asked to show cannot be read, as the end of a
// sentence: "it does not exist", "it is not a folder", "access is denied".
QString WhyFolderUnreadable(const QString &path);
