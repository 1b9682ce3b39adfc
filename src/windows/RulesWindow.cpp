#include "windows/RulesWindow.h"

#include "core/SettingsStore.h"
#include "rename/PreviewModel.h"
#include "rename/rules/PresetFile.h"
#include "skin/SkinEngine.h"
#include "windows/AccessibleWidgets.h"
#include "windows/PresetBar.h"
#include "windows/RuleListEditor.h"
#include "windows/RulesPreviewPane.h"
#include "windows/WindowPlacement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

const QString RulesWindow::kSection = QStringLiteral("Rules");
const QString RulesWindow::kOpenKey = QStringLiteral("Open");
const QString RulesWindow::kPresetKey = QStringLiteral("Preset");

namespace {

QPointer<RulesWindow> openWindow;

constexpr QSize kDefaultSize{960, 720};
constexpr int kPlacementSaveMilliseconds = 400;

} // namespace

RulesWindow::RulesWindow(const ProductInfo &product, const WindowSkin &skin, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_computer(new RulesPreviewComputer(this))
    , m_appName(product.productName)
{
    setObjectName(QStringLiteral("RulesWindow"));
    DescribeWidgetsForAccessibility();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Rules"));
    resize(kDefaultSize);
    buildControls();

    m_computer->setSource([this] {
        RulesPreviewInput input = m_source ? m_source() : RulesPreviewInput();
        input.rules = editor->rules();
        showKeepExisting(input.keepExisting);
        return input;
    });
    presetBar->setRulesAccess([this] { return editor->rules(); }, [this](const RuleList &rules) {
        editor->setRules(rules);
    });
    connect(presetBar, &PresetBar::chosenChanged, this,
            [this](const QString &name) { WriteSetting(m_appName, kSection, kPresetKey, name); });
    restoreRules();
    // Connected after the stored list is back: bringing it back is no change.
    connect(editor, &RuleListEditor::rulesChanged, this, &RulesWindow::rulesChanged);
    connect(preview, &RulesPreviewPane::previewShown, this, &RulesWindow::updateRename);
    connect(renameButton, &QPushButton::clicked, this, &RulesWindow::rename);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    m_placementSave.setSingleShot(true);
    m_placementSave.setInterval(kPlacementSaveMilliseconds);
    connect(&m_placementSave, &QTimer::timeout, this,
            [this] { StoreWindowPlacement(this, m_appName, kSection); });
    // The list is written once typing pauses: a synced file per keystroke
    // would stall typing on a slow disk.
    m_rulesSave.setSingleShot(true);
    m_rulesSave.setInterval(kPlacementSaveMilliseconds);
    connect(&m_rulesSave, &QTimer::timeout, this, &RulesWindow::storeRules);
    // The program may end with the window open and never destroy it.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (m_rulesSave.isActive()) {
            m_rulesSave.stop();
            storeRules();
        }
    });

    updateRename();
    SkinWindow(this, skin);
}

RulesWindow::~RulesWindow()
{
    if (m_rulesSave.isActive())
        storeRules();
}

void RulesWindow::buildControls()
{
    presetBar = new PresetBar(this);
    presetBar->setObjectName(QStringLiteral("presetBar"));
    editor = new RuleListEditor(this);
    editor->setObjectName(QStringLiteral("editor"));
    preview = new RulesPreviewPane(m_computer, this);
    preview->setObjectName(QStringLiteral("preview"));

    // The rules above, the preview below across the whole width: new names
    // are read side by side with the old ones, and both need the room.
    splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(editor);
    splitter->addWidget(preview);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);

    keepExistingNote = new QLabel(this);
    keepExistingNote->setObjectName(QStringLiteral("keepExistingNote"));
    keepExistingNote->setWordWrap(true);
    renameReason = new QLabel(this);
    renameReason->setObjectName(QStringLiteral("renameReason"));
    renameReason->setWordWrap(true);
    renameButton = new QPushButton(tr("&Rename"), this);
    renameButton->setObjectName(QStringLiteral("renameButton"));
    renameButton->setAccessibleName(tr("Rename with these rules"));
    renameButton->setDefault(true);
    closeButton = new QPushButton(tr("&Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setAccessibleName(tr("Close"));

    auto *bottom = new QHBoxLayout;
    auto *notes = new QVBoxLayout;
    notes->addWidget(keepExistingNote);
    notes->addWidget(renameReason);
    bottom->addLayout(notes, 1);
    bottom->addWidget(renameButton, 0, Qt::AlignBottom);
    bottom->addWidget(closeButton, 0, Qt::AlignBottom);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(presetBar);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);
}

RulesWindow *RulesWindow::open(const ProductInfo &product, const WindowSkin &skin)
{
    if (openWindow) {
        BringForward(openWindow);
        return openWindow;
    }
    auto *window = new RulesWindow(product, skin);
    RestoreWindowPlacement(window, product.productName, kSection);
    window->show();
    openWindow = window;
    WriteSetting(product.productName, kSection, kOpenKey, QStringLiteral("1"));
    return window;
}

RulesWindow *RulesWindow::current()
{
    return openWindow;
}

bool RulesWindow::wasOpen(const ProductInfo &product)
{
    return ReadSetting(product.productName, kSection, kOpenKey, QString()) == QLatin1String("1");
}

QString RulesWindow::rulesInUsePath()
{
    // Beside the presets, not among them: it is no preset of the user's.
    return QFileInfo(PresetFile::folder()).path() + QStringLiteral("/rules-in-use.rules");
}

void RulesWindow::setInputSource(std::function<RulesPreviewInput()> source)
{
    m_source = std::move(source);
}

void RulesWindow::inputChanged()
{
    preview->markOutdated();
    m_computer->inputChanged();
    updateRename();
}

void RulesWindow::setRenameHandler(std::function<void(const RuleList &)> rename)
{
    m_rename = std::move(rename);
}

void RulesWindow::setRunning(bool running)
{
    m_running = running;
    updateRename();
}

void RulesWindow::rulesChanged()
{
    m_rulesSave.start();
    inputChanged();
}

void RulesWindow::showKeepExisting(bool keep)
{
    keepExistingNote->setText(keep ? tr("Existing files are kept: a name that is taken gets \"_\". "
                                        "(Set in the main window.)")
                                   : tr("Existing files are replaced by files renamed to their names. "
                                        "(Set in the main window.)"));
}

void RulesWindow::updateRename()
{
    QString why;
    if (const QString problem = editor->problem(); !problem.isEmpty())
        why = problem;
    else if (m_running)
        why = tr("A rename is running.");
    else if (!preview->isCurrent())
        why = tr("The preview is being worked out.");
    else if (preview->isRefused())
        why = tr("These rules cannot be used on these files; the preview says why.");
    else if (preview->model()->preview().rows.isEmpty())
        why = tr("No file is selected in the main window.");
    renameButton->setEnabled(why.isEmpty());
    renameReason->setText(why);
    renameReason->setVisible(!why.isEmpty());
}

void RulesWindow::rename()
{
    updateRename();
    if (renameButton->isEnabled() && m_rename)
        m_rename(editor->rules());
}

void RulesWindow::restoreRules()
{
    RuleList rules;
    QString error;
    // A list that no longer reads is no list: the window opens empty.
    if (QFileInfo::exists(rulesInUsePath()) && PresetFile::read(rulesInUsePath(), &rules, &error))
        editor->setRules(rules);
    presetBar->showChosen(ReadSetting(m_appName, kSection, kPresetKey, QString()));
}

void RulesWindow::storeRules()
{
    // A list the format cannot hold (a line break in a text) keeps the last
    // one that it could.
    QString error;
    PresetFile::write(rulesInUsePath(), editor->rules(), &error);
}

void RulesWindow::closeEvent(QCloseEvent *event)
{
    m_placementSave.stop();
    if (m_rulesSave.isActive()) {
        m_rulesSave.stop();
        storeRules();
    }
    StoreWindowPlacement(this, m_appName, kSection);
    WriteSetting(m_appName, kSection, kOpenKey, QStringLiteral("0"));
    QWidget::closeEvent(event);
}

void RulesWindow::moveEvent(QMoveEvent *event)
{
    if (isVisible())
        m_placementSave.start();
    QWidget::moveEvent(event);
}

void RulesWindow::resizeEvent(QResizeEvent *event)
{
    if (isVisible())
        m_placementSave.start();
    QWidget::resizeEvent(event);
}
