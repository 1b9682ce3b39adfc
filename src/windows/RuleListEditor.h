#pragma once

#include "rename/rules/RuleList.h"

#include <QList>
#include <QWidget>

class ChoicePage;
class InsertPage;
class NumberPage;
class QAction;
class QComboBox;
class QListView;
class QMenu;
class QPushButton;
class QStackedWidget;
class QToolButton;
class ReplacePage;
class RuleListModel;
class RulePage;

// The rule list of the Rules window with the editor of its selected rule.
// Every change, down to a keystroke in the editor, is reported by
// rulesChanged().
class RuleListEditor : public QWidget
{
    Q_OBJECT

public:
    explicit RuleListEditor(QWidget *parent = nullptr);

    RuleList rules() const;
    // Shows rules in place of the list being edited; reports the change.
    void setRules(const RuleList &rules);
    // Empty while every rule that is on can be used; otherwise why not,
    // naming the rule.
    QString problem() const;

    // The row of the rule the editor shows, -1 when none.
    int selectedRule() const;
    void selectRule(int row);
    // The selected rule as its row and the editor's fields show it, read
    // afresh from them (settings of other kinds at their defaults).
    RenameRule ruleShown() const;
    // The page of the editor for a kind of rule.
    RulePage *pageOf(RenameRule::Kind kind) const;

    QListView *list = nullptr;
    RuleListModel *model = nullptr;
    QPushButton *addButton = nullptr;
    QMenu *addMenu = nullptr;
    QList<QAction *> addActions; // by kind, in the order of RenameRule::Kind
    QPushButton *removeButton = nullptr;
    QToolButton *upButton = nullptr;
    QToolButton *downButton = nullptr;
    QComboBox *scope = nullptr;
    QStackedWidget *pages = nullptr;
    ReplacePage *replacePage = nullptr;
    ChoicePage *casePage = nullptr;
    NumberPage *numberPage = nullptr;
    InsertPage *insertPage = nullptr;
    ChoicePage *cleanUpPage = nullptr;

signals:
    void rulesChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeListSide();
    QWidget *makeEditorSide(QWidget *parent);
    void orderTabs();
    void addRule(RenameRule::Kind kind);
    void removeRule();
    void moveRule(int by);
    // Puts the selected rule into the editor's fields.
    void showSelected();
    // Takes the editor's fields into the selected rule.
    void takeFields();
    void updateButtons();

    bool m_showing = false; // while the fields are filled from a rule
};
