#pragma once

#include <QDir>
#include <QString>

// Where Quillmere keeps what it must remember between runs, apart from the
// settings (journals of rename runs, the locks of folders being renamed):
// $XDG_STATE_HOME/quillmere, or ~/.local/state/quillmere.
inline QString QuillmereStateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/quillmere");
}
