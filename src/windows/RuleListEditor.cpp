#include "windows/RuleListEditor.h"

#include "rename/rules/RulePlan.h"
#include "rename/rules/RuleSummary.h"
#include "windows/rules/ChoicePage.h"
#include "windows/rules/InsertPage.h"
#include "windows/rules/NumberPage.h"
#include "windows/rules/ReplacePage.h"
#include "windows/rules/RuleFields.h"
#include "windows/rules/RuleListModel.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kNoRulePage = 0; // the pages of the kinds follow, in the order of RenameRule::Kind

} // namespace

RuleListEditor::RuleListEditor(QWidget *parent)
    : QWidget(parent)
    , model(new RuleListModel(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeListSide(), 2);
    // The fields scroll where the window leaves them too little room, so a
    // long reason under a field is never cut off.
    auto *editorArea = new QScrollArea(this);
    editorArea->setObjectName(QStringLiteral("editorArea"));
    editorArea->setFrameShape(QFrame::NoFrame);
    editorArea->setFocusPolicy(Qt::NoFocus);
    editorArea->setWidgetResizable(true);
    editorArea->setWidget(makeEditorSide(editorArea));
    // Wide enough for every page, and high enough for each as long as no
    // reason is shown under a field.
    editorArea->setMinimumSize(editorArea->widget()->minimumSizeHint()
                               + QSize(editorArea->verticalScrollBar()->sizeHint().width(), 0));
    layout->addWidget(editorArea, 3);
    orderTabs();

    connect(model, &QAbstractItemModel::dataChanged, this, &RuleListEditor::rulesChanged);
    connect(model, &QAbstractItemModel::rowsInserted, this, &RuleListEditor::rulesChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &RuleListEditor::rulesChanged);
    connect(model, &QAbstractItemModel::rowsMoved, this, &RuleListEditor::rulesChanged);
    connect(model, &QAbstractItemModel::modelReset, this, &RuleListEditor::rulesChanged);
    connect(model, &QAbstractItemModel::rowsMoved, this, &RuleListEditor::updateButtons);
    // A rule switched on or off in its row is shown as it now is.
    connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &from) {
        if (from.row() == selectedRule() && !m_showing)
            updateButtons();
    });
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this, &RuleListEditor::showSelected);
    showSelected();
}

QWidget *RuleListEditor::makeListSide()
{
    auto *side = new QWidget(this);
    auto *column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    list = new QListView(side);
    list->setObjectName(QStringLiteral("ruleList"));
    list->setModel(model);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setDragDropMode(QAbstractItemView::InternalMove);
    list->setDefaultDropAction(Qt::MoveAction);
    list->setDragEnabled(true);
    list->setDropIndicatorShown(true);
    list->setAccessibleName(tr("Rules"));
    list->installEventFilter(this);
    const int iconSide = list->style()->pixelMetric(QStyle::PM_SmallIconSize);
    list->setIconSize(QSize(iconSide, iconSide));
    // Room for the start of a summary.
    list->setMinimumWidth(list->fontMetrics().averageCharWidth() * 36);
    auto *label = new QLabel(tr("Rule lis&t:"), side);
    label->setBuddy(list);
    column->addWidget(label);
    column->addWidget(list, 1);

    addMenu = new QMenu(side);
    const std::pair<RenameRule::Kind, QString> kinds[] = {
        {RenameRule::Kind::Replace, tr("&Replace text")},      {RenameRule::Kind::Case, tr("Change &case")},
        {RenameRule::Kind::Number, tr("&Number the files")},   {RenameRule::Kind::Insert, tr("&Insert text or template")},
        {RenameRule::Kind::CleanUp, tr("C&lean up the names")}};
    for (const auto &[kind, text] : kinds) {
        QAction *action = addMenu->addAction(text);
        connect(action, &QAction::triggered, this, [this, kind = kind] { addRule(kind); });
        addActions.append(action);
    }
    addButton = new QPushButton(tr("&New rule"), side);
    addButton->setObjectName(QStringLiteral("addRule"));
    addButton->setMenu(addMenu);
    removeButton = new QPushButton(tr("Re&move"), side);
    removeButton->setToolTip(tr("Remove the rule (Delete)"));
    removeButton->setObjectName(QStringLiteral("removeRule"));
    connect(removeButton, &QPushButton::clicked, this, &RuleListEditor::removeRule);
    const auto arrow = [side](QStyle::StandardPixmap icon, const QString &name, const QString &tip) {
        auto *button = new QToolButton(side);
        button->setIcon(side->style()->standardIcon(icon));
        button->setAccessibleName(name);
        button->setToolTip(tip);
        return button;
    };
    upButton = arrow(QStyle::SP_ArrowUp, tr("Move up"), tr("Move the rule up (Ctrl+Up)"));
    upButton->setObjectName(QStringLiteral("moveUp"));
    downButton = arrow(QStyle::SP_ArrowDown, tr("Move down"), tr("Move the rule down (Ctrl+Down)"));
    downButton->setObjectName(QStringLiteral("moveDown"));
    connect(upButton, &QToolButton::clicked, this, [this] { moveRule(-1); });
    connect(downButton, &QToolButton::clicked, this, [this] { moveRule(1); });
    auto *buttons = new QHBoxLayout;
    for (QWidget *button : std::initializer_list<QWidget *>{addButton, removeButton, upButton, downButton})
        buttons->addWidget(button);
    buttons->addStretch();
    column->addLayout(buttons);
    return side;
}

QWidget *RuleListEditor::makeEditorSide(QWidget *parent)
{
    auto *side = new QWidget(parent);
    auto *column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    auto *form = new QFormLayout;
    column->addLayout(form);
    scope = new QComboBox(side);
    scope->setObjectName(QStringLiteral("scope"));
    for (auto value : {RenameRule::Scope::Stem, RenameRule::Scope::Extension, RenameRule::Scope::Name})
        RuleFields::addPhraseChoice(scope, RuleSummary::scopeText(value), int(value));
    RuleFields::addField(form, tr("Appl&y to:"), scope);
    connect(scope, &QComboBox::currentIndexChanged, this, &RuleListEditor::takeFields);

    pages = new QStackedWidget(side);
    auto *noRule = new QLabel(tr("Choose a rule in the list, or add one with \"New rule\"."), pages);
    noRule->setWordWrap(true);
    noRule->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    pages->addWidget(noRule);
    replacePage = new ReplacePage(pages);
    casePage = new ChoicePage(ChoicePage::Kind::Case, pages);
    numberPage = new NumberPage(pages);
    insertPage = new InsertPage(pages);
    cleanUpPage = new ChoicePage(ChoicePage::Kind::CleanUp, pages);
    for (RulePage *page : std::initializer_list<RulePage *>{replacePage, casePage, numberPage, insertPage,
                                                             cleanUpPage}) {
        pages->addWidget(page);
        connect(page, &RulePage::changed, this, &RuleListEditor::takeFields);
    }
    column->addWidget(pages);
    column->addStretch();
    return side;
}

void RuleListEditor::orderTabs()
{
    // The list's controls as they stand, then the scope and each page's
    // fields from top to bottom (Tab passes the pages not shown).
    QList<QWidget *> order{list, addButton, removeButton, upButton, downButton, scope};
    for (int i = kNoRulePage + 1; i < pages->count(); ++i)
        order.append(RuleFields::fieldsOf(qobject_cast<QFormLayout *>(pages->widget(i)->layout())));
    RuleFields::orderTabs(order);
}

RuleList RuleListEditor::rules() const
{
    return model->rules();
}

void RuleListEditor::setRules(const RuleList &rules)
{
    model->setRules(rules);
    selectRule(rules.isEmpty() ? -1 : 0);
    showSelected();
}

QString RuleListEditor::problem() const
{
    return RulePlan::problemOf(model->rules());
}

int RuleListEditor::selectedRule() const
{
    const QModelIndex current = list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void RuleListEditor::selectRule(int row)
{
    if (row < 0 || row >= model->rowCount()) {
        list->setCurrentIndex(QModelIndex());
        return;
    }
    list->setCurrentIndex(model->index(row));
}

RulePage *RuleListEditor::pageOf(RenameRule::Kind kind) const
{
    return qobject_cast<RulePage *>(pages->widget(kNoRulePage + 1 + int(kind)));
}

RenameRule RuleListEditor::ruleShown() const
{
    const int row = selectedRule();
    if (row < 0)
        return {};
    RenameRule rule;
    rule.kind = model->rule(row).kind;
    rule.enabled = model->index(row).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    rule.scope = RenameRule::Scope(RuleFields::chosen(scope));
    pageOf(rule.kind)->readRule(rule);
    return rule;
}

void RuleListEditor::showSelected()
{
    const int row = selectedRule();
    m_showing = true;
    if (row < 0) {
        pages->setCurrentIndex(kNoRulePage);
    } else {
        const RenameRule &rule = model->rule(row);
        RulePage *page = pageOf(rule.kind);
        pages->setCurrentWidget(page);
        RuleFields::choose(scope, int(rule.scope));
        page->showRule(rule);
        page->showProblem(rule, model->problemAt(row));
    }
    m_showing = false;
    updateButtons();
}

void RuleListEditor::takeFields()
{
    const int row = selectedRule();
    if (m_showing || row < 0)
        return;
    RenameRule rule = model->rule(row);
    rule.scope = RenameRule::Scope(RuleFields::chosen(scope));
    RulePage *page = pageOf(rule.kind);
    page->readRule(rule);
    model->setRule(row, rule);
    page->showProblem(rule, model->problemAt(row));
}

void RuleListEditor::updateButtons()
{
    const int row = selectedRule();
    scope->setEnabled(row >= 0);
    removeButton->setEnabled(row >= 0);
    upButton->setEnabled(row > 0);
    downButton->setEnabled(row >= 0 && row + 1 < model->rowCount());
}

void RuleListEditor::addRule(RenameRule::Kind kind)
{
    RenameRule rule;
    rule.kind = kind;
    const int row = selectedRule() < 0 ? model->rowCount() : selectedRule() + 1;
    model->insertRule(row, rule);
    selectRule(row);
    pageOf(kind)->firstField()->setFocus(Qt::OtherFocusReason);
}

void RuleListEditor::removeRule()
{
    const int row = selectedRule();
    if (row < 0)
        return;
    model->removeRule(row);
    selectRule(qMin(row, model->rowCount() - 1));
    showSelected();
    list->setFocus(Qt::OtherFocusReason);
}

void RuleListEditor::moveRule(int by)
{
    const int row = selectedRule();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= model->rowCount())
        return;
    // moveRows() counts the destination before the move.
    model->moveRows(QModelIndex(), row, 1, QModelIndex(), by > 0 ? to + 1 : to);
    selectRule(to);
}

bool RuleListEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == list && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            moveRule(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Delete) {
            removeRule();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
