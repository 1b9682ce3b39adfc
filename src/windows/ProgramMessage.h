#pragma once

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

// The program's message box: the text, an OK button and no icon. It belongs
// to the window it speaks for (`owner`'s top-level window), blocks the
// program until it is answered, and is kept above every window of the
// program, the help window included, which itself stays above all others.
// It is at least wide enough for its whole title, so the title bar never
// shortens it.
void ShowProgramMessage(QWidget *owner, const QString &title, const QString &text);

// The same box, made but not shown.
std::unique_ptr<QMessageBox> MakeProgramMessageBox(QWidget *owner, const QString &title, const QString &text);

// The narrowest a window may be for its title bar to show `title` whole,
// with the window manager's icon and buttons beside it.
int TitleBarWidth(const QString &title);
