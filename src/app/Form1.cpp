#include "app/Form1.h"

#include "app/RenameRunner.h"
#include "app/RunMessages.h"
#include "app/WindowIcon.h"
#include "core/ControlKinds.h"
#include "core/MemoryPages.h"
#include "core/NumberText.h"
#include "core/SettingKeys.h"
#include "core/SettingsStore.h"
#include "rename/NameComposition.h"
#include "rename/RenameUndo.h"
#include "rename/RenamingOptions.h"
#include "selection/DirListBox.h"
#include "selection/DriveListBox.h"
#include "selection/DriveListModel.h"
#include "selection/FileListBox.h"
#include "selection/FileListModel.h"
#include "selection/FileSelectionPanel.h"
#include "selection/FileSelectionWidgets.h"
#include "skin/SkinEngine.h"
#include "skin/SkinAccessibility.h"
#include "skin/SkinLabelArray.h"
#include "skin/SkinSupport.h"
#include "windows/AccessibleWidgets.h"
#include "windows/ControlEvents.h"
#include "windows/ProgramMessage.h"
#include "windows/PreviewWindow.h"
#include "windows/RulesWindow.h"
#include "windows/WindowOpeners.h"
#include "windows/WindowSetup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>

#include <utility>

const QString Form1::kMessageTitle = QStringLiteral("Quillmere Full");

Form1::Form1(ProductInfo product, WindowSkin skin, QWidget *parent)
    : QMainWindow(parent)
    , m_product(std::move(product))
    , m_skin(std::move(skin))
    , m_runner(new RenameRunner(this))
{
    setObjectName(QStringLiteral("Form1"));
    DescribeWidgetsForAccessibility();

    m_presenter = [this](const QString &title, const QString &text) { ShowProgramMessage(this, title, text); };
    m_end = [] { QCoreApplication::exit(0); };
    m_openHelp = [this] { OpenHelpWindow(m_skin); };
    m_openAbout = [this] { OpenAboutWindow(m_product, m_skin); };

    buildControls();
    buildMenus();
    connectEvents();
    connectRun();
    placeWindow();
}

Form1::~Form1()
{
    // A run still going stops at its next file and is waited for.
    delete m_runner;
}

void Form1::connectEvents()
{
    using namespace ControlEvents;

    onPress(Command1, [this] { Command1_Click(); });
    onItemClick(Combo3, [this] { Combo3_Click(); });
    onChange(Text1, [this] { Text1_Change(); });
    onItemClick(Combo1, [this] { Combo1_Click(); });
    onKeyUp(Text2, [this](int, Qt::KeyboardModifiers) { Text2_KeyUp(); });
    onClick(Check2, [this] { Check2_Click(); });
    onClick(Check3, [this] { Check3_Click(); });
    onClick(Check4, [this] { Check4_Click(); });

    // The file selection half: the lists report their own change events;
    // the filter box, filter extension and "Select All" go through the same
    // mapping as every other control.
    FileSelectionPanel *panel = m_panel;
    connect(Drive1, &DriveListBox::driveChanged, panel, &FileSelectionPanel::driveChanged);
    connect(Dir1, &DirListBox::pathChanged, panel, &FileSelectionPanel::folderChanged);
    onClick(Check1, [panel] { panel->filterTicked(); });
    onChange(Combo2, [panel] { panel->filterTextChanged(); });
    onItemClick(Combo2, [panel] { panel->filterPicked(); });
    onPress(Command4, [panel] { panel->selectAllPressed(); });

    for (QAction *item : std::as_const(mnuFileItem)) {
        const auto index = static_cast<qint16>(item->property(ControlKinds::IndexProperty).toInt());
        onTrigger(item, [this, index] { mnuFileItem_Click(index); });
    }
    onTrigger(mnuHelpItem, [this] { mnuHelpItem_Click(); });
    onTrigger(mnuAboutItem, [this] { mnuAboutItem_Click(); });
    onTrigger(mnuUndoItem, [this] { mnuUndoItem_Click(); });
    connect(mnuFile, &QMenu::aboutToShow, this, &Form1::updateUndoItem);
    connect(Dir1, &DirListBox::pathChanged, this, &Form1::updateUndoItem);

    // The preview follows every option, the folder and the selection.
    const auto feed = [this] { feedPreview(); };
    connect(Combo3, &QComboBox::currentIndexChanged, this, feed);
    for (QComboBox *box : {Combo3, Combo1, Combo2})
        connect(box, &QComboBox::editTextChanged, this, feed);
    for (QLineEdit *box : {Text1, Text2})
        connect(box, &QLineEdit::textChanged, this, feed);
    for (QCheckBox *box : {Check1, Check2, Check3, Check4})
        connect(box, &QCheckBox::stateChanged, this, feed);
    connect(File1->fileModel(), &QAbstractItemModel::modelReset, this, feed);
    connect(File1->fileModel()->selectionModel(), &QItemSelectionModel::selectionChanged, this, feed);
}

void Form1::setMessagePresenter(MessagePresenter presenter)
{
    m_presenter = std::move(presenter);
}

void Form1::setProgramEnd(std::function<void()> end)
{
    m_end = std::move(end);
}

void Form1::setHelpWindowOpener(std::function<void()> open)
{
    m_openHelp = std::move(open);
}

void Form1::setAboutWindowOpener(std::function<void()> open)
{
    m_openAbout = std::move(open);
}

void Form1::present(const QString &text) const
{
    if (m_presenter)
        m_presenter(kMessageTitle, text);
}

void Form1::endProgram()
{
    if (m_end)
        m_end();
}

void Form1::Form_Load()
{
    FinishSkinSupportOnNt6();

    ApplyWindowIcon(this, QStringLiteral("AAA"), true);

    setWindowTitle(tr("%1 by %2").arg(m_product.productName, m_product.companyName));

    restoreOptions();

    SkinWindow(this, m_skin, {SkinLabel1, SkinLabel2});
    // In the skin's font, the caption and its picture side by side; the
    // room to its right is free ("Jetzt umbenennen" needs more than the
    // design's width).
    WidenToText(Command1);

    if (ReadOption(SettingKeys::ShowHelp) == QLatin1String("1"))
        mnuHelpItem_Click();

    updateUndoItem();
    // A run cut off by a crash or a power cut is reported once, at start.
    if (const QString halfRenamed = HalfRenamedMessage(FindHalfRenamedFolders()); !halfRenamed.isEmpty())
        present(halfRenamed);

    if (PreviewWindow::wasOpen(m_product))
        openPreview();
    if (RulesWindow::wasOpen(m_product))
        openRules();
}

void Form1::Form_Unload()
{
    WriteOption(SettingKeys::Combo2, Combo2->currentText());
    if (m_skin.enabled)
        SkinSupport::instance().Finish();
    endProgram();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // A close requested while files are being renamed stops the run before
    // its next file; the window closes once every file is in its place.
    if (isRunning()) {
        m_closeAfterRun = true;
        m_runner->requestStop();
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void Form1::mnuFileItem_Click(qint16 index)
{
    // By the item's own index, whatever its place in the menu.
    switch (index) {
    case RenameNowItem:
        Command1_Click();
        break;
    case ExitItem:
        // As a close does: a run stops first, and the program ends after it.
        if (isRunning()) {
            m_endAfterRun = true;
            m_runner->requestStop();
        } else {
            endProgram();
        }
        break;
    case PreviewItem:
        openPreview();
        break;
    case RulesItem:
        openRules();
        break;
    default:
        break;
    }
}

void Form1::mnuUndoItem_Click()
{
    if (isRunning())
        return;
    {
        const UndoReport report = UndoLastRun(File1->path());
        File1->refresh();
        updateUndoItem();
        // What went back is said where it needs no answer; what did not, in a box.
        if (report.status == UndoReport::Status::Done) {
            const qsizetype back = report.restored.size();
            statusBar()->showMessage(back == 1 ? tr("Undone: 1 file has its name from before the rename again.")
                                               : tr("Undone: %1 files have their names from before the rename again.")
                                                     .arg(back));
        }
        if (const QString message = UndoOutcomeMessage(report); !message.isEmpty())
            present(message);
    }
    // The journal read back and the report of every file are gone now.
    ReturnFreedMemorySoon();
}

void Form1::updateUndoItem()
{
    const bool running = isRunning();
    const bool recorded = !running && HasRecordedRun(File1->path());
    mnuUndoItem->setEnabled(recorded);
    const QString why = running ? tr("A rename is running; it can be undone once it has finished.")
        : recorded                ? tr("Takes back the last rename in this folder.")
                                  : tr("No rename in this folder is left to undo.");
    mnuUndoItem->setToolTip(why);
    mnuUndoItem->setStatusTip(why);
}

void Form1::mnuHelpItem_Click()
{
    if (m_openHelp)
        m_openHelp();
}

void Form1::mnuAboutItem_Click()
{
    if (m_openAbout)
        m_openAbout();
}

void Form1::Command1_Click()
{
    if (isRunning())
        return;
    const RenameRequest request = readRenameRequest();
    if (const std::optional<QString> refusal = ValidateRenameRequest(request)) {
        present(*refusal);
        return;
    }
    runRename(request);
}

void Form1::runRename(const RenameRequest &request)
{
    // Copied here: the run never reads a control.
    m_runner->start(File1->path(), File1->renameEntries(), request);
    holdInputDuringRun(true);
}

void Form1::connectRun()
{
    // Esc stops a run; at any other time the key is the controls' own.
    m_stopKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_stopKey->setObjectName(QStringLiteral("stopKey"));
    m_stopKey->setContext(Qt::WindowShortcut);
    m_stopKey->setEnabled(false);
    connect(m_stopKey, &QShortcut::activated, m_runner, &RenameRunner::requestStop);

    connect(m_runner, &RenameRunner::numberTextChanged, Text2, &QLineEdit::setText);
    connect(m_runner, &RenameRunner::progressChanged, ProgressBar1, &QProgressBar::setValue);
    connect(m_runner, &RenameRunner::filterTextChanged, Combo2, &QComboBox::setEditText);
    connect(m_runner, &RenameRunner::refreshRequested, File1, &FileListBox::refresh);
    connect(m_runner, &RenameRunner::finished, this, &Form1::runFinished);
}

// While files are renamed, nothing that would change the request can be
// touched: the options, the folder, the selection and the items that start
// a run or an undo. The window still paints, moves and can be closed.
void Form1::holdInputDuringRun(bool hold)
{
    // The control that had the keyboard gets it back after the run.
    if (hold)
        m_focusBeforeRun = QApplication::focusWidget();
    for (QWidget *part : std::initializer_list<QWidget *>{Frame1, Frame2, Command1})
        part->setEnabled(!hold);
    mnuFileItem.at(RenameNowItem)->setEnabled(!hold);
    m_stopKey->setEnabled(hold);
    if (RulesWindow *rules = RulesWindow::current())
        rules->setRunning(hold);
    if (!hold && m_focusBeforeRun)
        m_focusBeforeRun->setFocus(Qt::OtherFocusReason);
    updateUndoItem();
}

void Form1::runFinished(const QString &folder, const RenameReport &report)
{
    holdInputDuringRun(false);
    if (std::exchange(m_rulesRun, false))
        selectRenamed(report);
    feedPreview();

    // A folder deleted while it was shown leaves the lists on the nearest
    // folder that is still there, before the user is notified.
    const bool folderGone = !QFileInfo(folder).exists();
    if (folderGone)
        Dir1->setPath(NearestExistingFolder(folder));

    if (report.refusal != RenameReport::Refusal::None)
        present(report.refusalMessage);

    // A file that stayed where it was must not go unnoticed.
    if (!report.leftInPlace.isEmpty())
        present(DescribeLeftInPlace(folder, report, folderGone));

    updateUndoItem();
    // The run's arrays were freed on its own thread, whose heap keeps them.
    ReturnFreedMemorySoon();
    if (std::exchange(m_endAfterRun, false))
        endProgram();
    else if (std::exchange(m_closeAfterRun, false))
        close();
}

bool Form1::isRunning() const
{
    return m_runner->isRunning();
}

// The preview is given what a run would be given; it never reads the
// controls itself.
void Form1::openPreview()
{
    PreviewWindow *preview = PreviewWindow::open(m_product, m_skin);
    connect(preview, &PreviewWindow::folderChanged, this, &Form1::feedPreview, Qt::UniqueConnection);
    preview->setInputSource([form = QPointer<Form1>(this)] {
        return form ? PreviewInput{form->File1->path(), form->File1->renameEntries(), form->readRenameRequest()}
                    : PreviewInput();
    });
    feedPreview();
}

// Changes during a run wait for its end.
void Form1::feedPreview()
{
    if (isRunning())
        return;
    if (PreviewWindow *preview = PreviewWindow::current())
        preview->inputChanged();
    if (RulesWindow *rules = RulesWindow::current())
        rules->inputChanged();
}
