#include "windows/ProgramMessage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QTimer>

namespace {

// Room a title bar gives to things other than the title: the window icon on
// one side, minimise, maximise and close on the other, and the frame's
// padding. Generous, since the window manager's theme is not known here.
constexpr int kTitleBarExtras = 160;

} // namespace

int TitleBarWidth(const QString &title)
{
    // Window managers draw titles in a bold face of about the program's size.
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarExtras;
}

std::unique_ptr<QMessageBox> MakeProgramMessageBox(QWidget *owner, const QString &title, const QString &text)
{
    QWidget *window = owner ? owner->window() : nullptr;
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, title, text, QMessageBox::Ok, window);
    // Set first: a message box's modality sets its window flags afresh.
    box->setWindowModality(Qt::ApplicationModal);
    // Above the help window, which is kept above all others: a box under it
    // would block the program unseen.
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // The box sizes itself to its text; a spanning spacer makes the title
    // count as well.
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout())) {
        grid->addItem(new QSpacerItem(TitleBarWidth(title), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

void ShowProgramMessage(QWidget *owner, const QString &title, const QString &text)
{
    const std::unique_ptr<QMessageBox> box = MakeProgramMessageBox(owner, title, text);
    // A window manager may map a new window under one that stays on top;
    // raised once it is up, the box comes to the front.
    QMessageBox *shown = box.get();
    QTimer::singleShot(0, shown, [shown] {
        shown->raise();
        shown->activateWindow();
    });
    box->exec();
}
