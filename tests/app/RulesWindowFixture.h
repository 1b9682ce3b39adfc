#pragma once

// What the Rules window tests share: a main window whose messages are
// kept, the Rules window opened on a folder from it with the keyboard, and
// the rule lists written as presets.

#include "app/Form1.h"
#include "core/ProductInfo.h"
#include "rename/PreviewModel.h"
#include "rename/rules/PresetFile.h"
#include "selection/DirListBox.h"
#include "windows/RulesPreviewPane.h"
#include "windows/RulesWindow.h"

#include <QPushButton>
#include <QTest>

#include <memory>

struct MainWindow
{
    std::unique_ptr<Form1> form;
    QStringList messages;
};

inline std::unique_ptr<MainWindow> makeMainWindow()
{
    auto w = std::make_unique<MainWindow>();
    w->form = std::make_unique<Form1>(LoadProductInfo());
    MainWindow *raw = w.get();
    w->form->setMessagePresenter([raw](const QString &, const QString &text) { raw->messages << text; });
    w->form->setProgramEnd([] {});
    w->form->setHelpWindowOpener([] {});
    return w;
}

// The rules of a preset's text; an empty list when it does not read.
inline RuleList rulesOf(const QString &presetText)
{
    RuleList rules;
    QString error;
    PresetFile::parse(presetText, QStringLiteral("test"), &rules, &error);
    return rules;
}

// The Rules window opened from `form` with Ctrl+Shift+R on `folder`, every
// file selected; null when it did not open.
inline RulesWindow *openRulesOn(Form1 *form, const QString &folder)
{
    form->Dir1->setPath(folder);
    form->show();
    if (!QTest::qWaitForWindowActive(form))
        return nullptr;
    QTest::keyClick(form, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    RulesWindow *rules = RulesWindow::current();
    if (!rules)
        return nullptr;
    form->Command4->click(); // Select All
    return rules;
}

// The preview shows the whole result of the newest input.
inline bool previewUpToDate(const RulesWindow *rules)
{
    return rules->preview->isCurrent() && !rules->computer()->isComputing();
}
