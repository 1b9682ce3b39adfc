#pragma once

#include "skin/WindowSkin.h"

#include <QWidget>

class QCheckBox;
class QTextBrowser;
class QUrl;

// The help window: the help document above, "Show at Startup" below. It is
// loaded when opened (see OpenHelpWindow) and unloaded when closed.
class Form8 : public QWidget
{
    Q_OBJECT

public:
    explicit Form8(WindowSkin skin = {}, QWidget *parent = nullptr);

    // The load step. False when there is no help document: the window is
    // then not to be shown, and "showHelp" is neither read nor written.
    bool Form_Load();

    // Stores the box's state as the choice for the next start.
    void Check1_Click();

    QTextBrowser *rtf1 = nullptr;
    QCheckBox *Check1 = nullptr;

private:
    void loadDocument(const QString &path);

    WindowSkin m_skin;
    void openLink(const QUrl &link);
};
