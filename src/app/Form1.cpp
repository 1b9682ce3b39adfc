#include "app/Form1.h"

#include "app/Artwork.h"
#include "app/WindowIcon.h"
#include "core/ControlKinds.h"
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
#include "windows/WindowOpeners.h"
#include "windows/WindowSetup.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHash>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

const QString Form1::kMessageTitle = QStringLiteral("Quillmere Full");

namespace {

// The window is laid out in twips; 15 of them make one pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;

QRect fromTwips(int left, int top, int width, int height)
{
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel};
}

constexpr QSize kClientSize{8595 / kTwipsPerPixel, 7395 / kTwipsPerPixel};

// How long the window may go without repainting during a run: often enough
// that the progress bar visibly moves, rare enough to cost nothing per file.
constexpr qint64 kRunRepaintMilliseconds = 50;

// At most this many files are named in the message after a run.
constexpr int kMaxFilesNamed = 12;

QFont windowFont()
{
    const QString family = QFontDatabase::families().contains(QStringLiteral("Verdana"))
        ? QStringLiteral("Verdana")
        : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont font(family);
    font.setPointSizeF(8.25);
    return font;
}

QComboBox *makeCombo(QWidget *parent, const char *name, const QRect &geometry, const QStringList &items,
                     const QString &text)
{
    auto *combo = MakeControl<QComboBox>(parent, name, ControlKinds::ComboBox, geometry);
    combo->setEditable(true);
    combo->addItems(items);
    // The box shows its design text with no item selected.
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
    ControlEvents::makeClassicCombo(combo);
    return combo;
}

// One part of the message: a heading, then the files named one a line, at
// most `room` of them. With reasons, the files are grouped under each
// reason, in the order the reasons first came: a folder that refuses every
// file says so once, not once a file.
void describeFiles(QString &text, const QString &heading, const QList<LeftInPlaceFile> &files, qsizetype &room,
                   bool withReasons)
{
    if (files.isEmpty())
        return;
    if (!text.isEmpty())
        text += QStringLiteral("\n\n");
    text += heading + QLatin1Char('\n');
    QStringList reasons;
    QHash<QString, QList<const LeftInPlaceFile *>> byReason;
    for (const LeftInPlaceFile &file : files) {
        const QString reason = withReasons ? file.message : QString();
        if (!byReason.contains(reason))
            reasons.append(reason);
        byReason[reason].append(&file);
    }
    for (const QString &reason : std::as_const(reasons)) {
        if (room == 0)
            break;
        if (!reason.isEmpty())
            text += QLatin1Char('\n') + reason + QLatin1Char(':');
        for (const LeftInPlaceFile *file : std::as_const(byReason[reason])) {
            if (room == 0)
                break;
            --room;
            text += QLatin1Char('\n') + (reason.isEmpty() ? QString() : QStringLiteral("    ")) + file->name;
            if (!file->currentName.isEmpty() && file->currentName != file->name)
                text += Form1::tr(" (now %1)").arg(file->currentName);
        }
    }
}

QString describeLeftInPlace(const QString &folder, const RenameReport &report, bool folderGone)
{
    // Files still in the folder, and files that were gone before their turn
    // came, are told apart: "still in the folder" would be untrue of these.
    QList<LeftInPlaceFile> stayed;
    QList<LeftInPlaceFile> vanished;
    const QDir dir(folder);
    for (const LeftInPlaceFile &file : report.leftInPlace) {
        const bool gone = !folderGone && file.reason == LeftInPlaceReason::NotInFolder
            && !QFileInfo::exists(dir.filePath(file.name));
        (gone ? vanished : stayed).append(file);
    }

    QString text;
    qsizetype room = kMaxFilesNamed;
    if (folderGone) {
        const qsizetype count = stayed.size();
        describeFiles(text,
                      count == 1 ? Form1::tr("The folder no longer exists; 1 file was not renamed:")
                                 : Form1::tr("The folder no longer exists; %1 files were not renamed:").arg(count),
                      stayed, room, false);
    } else {
        const qsizetype count = stayed.size();
        describeFiles(text,
                      count == 1 ? Form1::tr("1 file was not renamed and is still in the folder:")
                                 : Form1::tr("%1 files were not renamed and are still in the folder:").arg(count),
                      stayed, room, true);
        const qsizetype gone = vanished.size();
        describeFiles(text,
                      gone == 1 ? Form1::tr("1 file was not renamed and is no longer in the folder:")
                                : Form1::tr("%1 files were not renamed and are no longer in the folder:").arg(gone),
                      vanished, room, false);
    }
    const qsizetype unnamed = report.leftInPlace.size() - kMaxFilesNamed;
    if (unnamed > 0)
        text += Form1::tr("\n... and %1 more.").arg(unnamed);
    if (report.renamed.size() == 1)
        text += Form1::tr("\n\n1 other file was renamed.");
    else if (!report.renamed.isEmpty())
        text += Form1::tr("\n\n%1 other files were renamed.").arg(report.renamed.size());
    return text;
}

// The nearest folder at or above `folder` that is there; the root at worst.
QString nearestExistingFolder(QString folder)
{
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

} // namespace

Form1::Form1(ProductInfo product, WindowSkin skin, QWidget *parent)
    : QMainWindow(parent)
    , m_product(std::move(product))
    , m_skin(std::move(skin))
{
    setObjectName(QStringLiteral("Form1"));
    setFont(windowFont());
    DescribeWidgetsForAccessibility();

    m_presenter = [this](const QString &title, const QString &text) { ShowProgramMessage(this, title, text); };
    m_end = [] { QCoreApplication::exit(0); };
    m_openHelp = [this] { OpenHelpWindow(m_skin); };
    m_openAbout = [this] { OpenAboutWindow(m_product, m_skin); };

    buildControls();
    buildMenus();
    connectEvents();

    // The status bar says what went well without a box to close (an undo),
    // and why a greyed menu item is greyed.
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    resize(kClientSize.width(),
           kClientSize.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Form1::~Form1() = default;

// Every text a control shows has a mnemonic (the letter after "&"), and each
// label is the buddy of the control it names: Alt and the letter reach the
// control, and screen readers name the control by its label.

void Form1::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    QFont bold = font();
    bold.setBold(true);

    Command1 = MakeControl<QPushButton>(client, "Command1", ControlKinds::CommandButton, fromTwips(60, 60, 2025, 825));
    Command1->setText(tr("&Rename Now"));
    Command1->setFont(bold);
    Command1->setIconSize(QSize(32, 32));
    Command1->setIcon(QIcon(RenameNowPicture(32, devicePixelRatioF())));

    buildRenamingOptions(client);
    buildFileSelection(client);

    ProgressBar1 = MakeControl<QProgressBar>(client, "ProgressBar1", ControlKinds::ProgressBar,
                                             fromTwips(60, 7080, 8475, 255));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    m_panel = CreateFileSelectionPanel(Drive1, Dir1, File1, Check1, Combo2, WriteOption, this);
    m_panel->setMessagePresenter([this](const QString &message) { present(message); });
    describeForAccessibility();
}

namespace {

// Positions inside the frames, in pixels.
constexpr int kLabelX = 8;
// Room for the widest caption of the first column, "Umbenennungstyp:" in German.
constexpr int kFieldX = 136;
constexpr int kRightX = 312;
constexpr int kRightEnd = 557;
constexpr int kRowHeight = 22;
constexpr int kCheckHeight = 18;

QFont boldOf(const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    return bold;
}

QFont plainOf(const QFont &font)
{
    // Set explicitly, so the controls inside the bold frames stay plain.
    QFont plain = font;
    plain.setBold(false);
    return plain;
}

QGroupBox *makeFrame(QWidget *client, const char *name, const QString &title, const QRect &geometry)
{
    // Frame captions are bold; the frames' controls keep the plain font
    // except the labels, which are bold as well.
    auto *frame = MakeControl<QGroupBox>(client, name, ControlKinds::Frame, geometry);
    frame->setTitle(title);
    frame->setFont(boldOf(client->font()));
    return frame;
}

QLabel *makeLabel(QWidget *frame, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = MakeControl<QLabel>(frame, name, ControlKinds::Label, geometry);
    label->setText(text);
    label->setFont(boldOf(frame->font()));
    return label;
}

QCheckBox *makeCheck(QWidget *frame, const char *name, const QString &text, const QRect &geometry)
{
    auto *box = MakeControl<QCheckBox>(frame, name, ControlKinds::CheckBox, geometry);
    box->setText(text);
    box->setFont(plainOf(frame->font()));
    return box;
}

} // namespace

void Form1::buildRenamingOptions(QWidget *client)
{
    Frame1 = makeFrame(client, "Frame1", tr("Renaming Options"), fromTwips(60, 960, 8475, 2235));
    SkinLabel1 = new SkinLabelArray(QStringLiteral("SkinLabel1"), Frame1, this);
    const QFont plain = plainOf(Frame1->font());
    constexpr int row1 = 18, row2 = 42, row3 = 66, row4 = 90, row5 = 108, row6 = 126;

    constexpr int captionWidth = kFieldX - kLabelX - 2;
    Label4 = makeLabel(Frame1, "Label4", tr("Renaming &Type:"), {kLabelX, row1 + 3, captionWidth, 16});
    Combo3 = makeCombo(Frame1, "Combo3", {kFieldX, row1, 260, kRowHeight}, RenamingTypeItems(),
                       RenamingTypeItems().at(NameOnly));
    Combo3->setFont(plain);

    Label1 = makeLabel(Frame1, "Label1", tr("&New Name:"), {kLabelX, row2 + 3, captionWidth, 16});
    // The name box ends where the dot before the extension box begins.
    constexpr int dotX = kRightX - 12;
    Text1 = MakeControl<QLineEdit>(Frame1, "Text1", ControlKinds::TextBox,
                                   {kFieldX, row2, dotX - 4 - kFieldX, kRowHeight});
    Text1->setFont(plain);
    Label2 = makeLabel(Frame1, "Label2", QStringLiteral("."), {dotX, row2 + 3, 8, 16});
    const QStringList extensions{QStringLiteral("jpg"), QStringLiteral("gif"), QStringLiteral("bmp"),
                                 QStringLiteral("txt"), QStringLiteral("doc")};
    Combo1 = makeCombo(Frame1, "Combo1", {kRightX, row2, kRightEnd - kRightX, kRowHeight}, extensions,
                       QString(kExtensionPlaceholder));
    Combo1->setFont(plain);

    Label3 = makeLabel(Frame1, "Label3", tr("&Starting Number:"), {kLabelX, row3 + 3, captionWidth, 16});
    Text2 = MakeControl<QLineEdit>(Frame1, "Text2", ControlKinds::TextBox, {kFieldX, row3, 60, kRowHeight});
    Text2->setFont(plain);
    Text2->setText(QString(kDefaultStartingNumber));
    Check1 = makeCheck(Frame1, "Check1", tr("File Fi&lter:"), {kRightX, row3 + 2, 100, kCheckHeight});
    // The filter box's placeholder stays English in every language: the box's text is
    // stored when the window closes and read back as the filter extension.
    Combo2 = makeCombo(Frame1, "Combo2", {kRightX + 104, row3, kRightEnd - kRightX - 104, kRowHeight}, extensions,
                       QStringLiteral("Choose or Type"));
    Combo2->setFont(plain);

    Check2 = makeCheck(Frame1, "Check2",
                       tr("&Pad numbers in file name with zeros (File001.jpg, File002.jpg, etc...)"),
                       {kLabelX, row4, 540, kCheckHeight});
    Check2->setChecked(true);
    Check3 = makeCheck(Frame1, "Check3", tr("Re&member the last starting number used"),
                       {kLabelX, row5, 540, kCheckHeight});
    Check4 = makeCheck(Frame1, "Check4",
                       tr("Don't &overwrite existing files if the new filename is already in use"),
                       {kLabelX, row6, 540, kCheckHeight});

    Label4->setBuddy(Combo3);
    Label1->setBuddy(Text1);
    Label3->setBuddy(Text2);
}

void Form1::buildFileSelection(QWidget *client)
{
    Frame2 = makeFrame(client, "Frame2", tr("File Selection"), fromTwips(60, 3240, 8475, 3795));
    SkinLabel2 = new SkinLabelArray(QStringLiteral("SkinLabel2"), Frame2, this);
    const QFont plain = plainOf(Frame2->font());
    constexpr int leftWidth = 240;
    constexpr int fileX = 256;
    constexpr int fileWidth = kRightEnd - fileX;

    Label6 = makeLabel(Frame2, "Label6", tr("Choose a &directory:"), {kLabelX, 20, leftWidth, 16});
    Drive1 = MakeControl<DriveListBox>(Frame2, "Drive1", ControlKinds::DriveListBox, {kLabelX, 38, leftWidth, kRowHeight});
    Drive1->setFont(plain);
    Dir1 = MakeControl<DirListBox>(Frame2, "Dir1", ControlKinds::DirListBox, {kLabelX, 64, leftWidth, 181});
    Dir1->setFont(plain);

    Label5 = makeLabel(Frame2, "Label5", tr("Select the fil&es you want to rename:"),
                       {fileX, 20, fileWidth, 16});
    File1 = MakeControl<FileListBox>(Frame2, "File1", ControlKinds::FileListBox, {fileX, 38, fileWidth, 176});
    File1->setFont(plain);
    Command4 = MakeControl<QPushButton>(Frame2, "Command4", ControlKinds::CommandButton, {fileX, 218, fileWidth, 27});
    Command4->setText(tr("Select &All"));
    Command4->setFont(plain);

    // The caption names the drive and folder lists together; Alt+D reaches
    // the first of them.
    Label6->setBuddy(Drive1);
    Label5->setBuddy(File1);
}

void Form1::describeForAccessibility()
{
    // Text boxes take their names from their labels (the buddies); lists
    // and combo boxes would be named by their content, so they are named by
    // their captions here, and the rest for what they hold.
    const auto caption = [](const QLabel *label) { return QString(label->text()).remove(QLatin1Char('&')); };
    Combo3->setAccessibleName(caption(Label4));
    Dir1->setAccessibleName(caption(Label6));
    File1->setAccessibleName(caption(Label5));
    // Called by these names, not by the text they show (see AccessibleWidgets.h).
    Combo1->setAccessibleName(tr("New Extension"));
    Combo2->setAccessibleName(tr("File Filter Extension"));
    Drive1->setAccessibleName(tr("Drive"));
    ProgressBar1->setAccessibleName(tr("Progress"));
    // The dot before the extension box only shows where the extension goes.
    KeepOutOfAccessibility(Label2);
}

void Form1::buildMenus()
{
    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    const auto addFileItem = [this](FileItem index, const QString &text) {
        QAction *item = mnuFile->addAction(text);
        item->setObjectName(QStringLiteral("mnuFileItem"));
        item->setProperty(ControlKinds::IndexProperty, int(index));
        mnuFileItem.append(item);
        return item;
    };
    QAction *renameNow = addFileItem(RenameNowItem, tr("&Rename Now"));
    // Window-wide, so it works wherever the focus is; the menu shows it.
    renameNow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    addFileItem(ExitItem, tr("E&xit"));
    // A later element of the item array, with the next free index, shown
    // before "Exit".
    QAction *preview = new QAction(tr("&Preview"), mnuFile);
    preview->setObjectName(QStringLiteral("mnuFileItem"));
    preview->setProperty(ControlKinds::IndexProperty, int(PreviewItem));
    mnuFile->insertAction(mnuFileItem.at(ExitItem), preview);
    mnuFileItem.append(preview);

    // Not one of the numbered items: those keep their numbers.
    mnuUndoItem = new QAction(tr("&Undo Last Rename"), mnuFile);
    mnuUndoItem->setObjectName(QStringLiteral("mnuUndoItem"));
    // A greyed item says why it is greyed.
    mnuFile->setToolTipsVisible(true);
    mnuFile->insertAction(mnuFileItem.at(ExitItem), mnuUndoItem); // before "Exit"

    mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpItem = mnuHelp->addAction(tr("&View Help"));
    mnuHelpItem->setObjectName(QStringLiteral("mnuHelpItem"));
    mnuHelpItem->setShortcut(QKeySequence::HelpContents);

    // B: O belongs to "Don't overwrite".
    mnuAbout = menuBar()->addMenu(tr("A&bout"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    mnuAboutItem = mnuAbout->addAction(tr("&About this software"));
    mnuAboutItem->setObjectName(QStringLiteral("mnuAboutItem"));
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
    // A run cut off by a crash or a power cut is told once, at start.
    if (const QString halfRenamed = HalfRenamedMessage(FindHalfRenamedFolders()); !halfRenamed.isEmpty())
        present(halfRenamed);

    if (PreviewWindow::wasOpen(m_product))
        openPreview();
}

void Form1::restoreOptions()
{
    using namespace ControlEvents;

    // Every value goes through the control's ordinary setter, so the
    // control's own reaction runs exactly as for a user's change. The folder
    // is read before the drive is applied: choosing the drive moves the
    // folder list and stores that folder.
    const QString drive = ReadOption(SettingKeys::Drive);
    const QString dir = ReadOption(SettingKeys::Dir);
    if (!drive.isEmpty())
        Drive1->setDrive(drive);
    // A folder on a volume that does not answer would hold the window until
    // it does; the drive list has found it not ready.
    if (!dir.isEmpty() && Drive1->driveModel()->isReady(Drive1->driveModel()->driveOfPath(dir)))
        Dir1->setPath(dir);

    Text1->setText(ReadOption(SettingKeys::Text1));
    Text2->setText(ReadOption(SettingKeys::Text2));

    // A stored value that is no number, or no value a check box holds,
    // leaves that box in its design state.
    const auto restoreCheck = [](QCheckBox *box, QLatin1StringView key) {
        if (const std::optional<qint32> value = ParseWholeNumber(ReadOption(key)))
            setCheckValue(box, *value);
    };
    restoreCheck(Check1, SettingKeys::Check1);
    restoreCheck(Check2, SettingKeys::Check2);
    restoreCheck(Check3, SettingKeys::Check3);
    restoreCheck(Check4, SettingKeys::Check4);

    if (const QString extension = ReadOption(SettingKeys::Combo1); !extension.isEmpty())
        Combo1->setEditText(extension);
    if (const QString filter = ReadOption(SettingKeys::Combo2); !filter.isEmpty())
        Combo2->setEditText(filter);

    // The type comes last: its click reaction sets the fields for it.
    if (const QString type = ReadOption(SettingKeys::Combo3); !type.isEmpty()) {
        const std::optional<qint32> index = ParseWholeNumber(type);
        if (index && *index >= 0 && *index < Combo3->count())
            Combo3->setCurrentIndex(*index);
    }
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
    if (m_running) {
        m_closeRequested = true;
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
        endProgram();
        break;
    case PreviewItem:
        openPreview();
        break;
    default:
        break;
    }
}

void Form1::mnuUndoItem_Click()
{
    if (m_running)
        return;
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

void Form1::updateUndoItem()
{
    const bool recorded = !m_running && HasRecordedRun(File1->path());
    mnuUndoItem->setEnabled(recorded);
    const QString why = m_running ? tr("A rename is running; it can be undone once it has finished.")
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

void Form1::Combo3_Click()
{
    const auto type = static_cast<RenamingType>(Combo3->currentIndex());
    const OptionFieldStates states = FieldStatesFor(type);
    Text1->setEnabled(states.newTextEnabled);
    Text2->setEnabled(states.numberEnabled);
    Combo1->setEnabled(states.extensionEnabled);
    Check1->setEnabled(states.filterEnabled);
    Check2->setEnabled(states.padEnabled);
    Check3->setEnabled(states.rememberEnabled);
    // The caption changes with the type; its mnemonic stays on the N.
    Label1->setText(QLatin1Char('&') + states.newTextCaption);
    LabelCaptionChanged(Label1);
    WriteOption(SettingKeys::Combo3, QString::number(Combo3->currentIndex()));
}

void Form1::Combo1_Click()
{
    WriteOption(SettingKeys::Combo1, Combo1->currentText());
}

void Form1::Text1_Change()
{
    WriteOption(SettingKeys::Text1, Text1->text());
}

void Form1::Text2_KeyUp()
{
    const QString text = Text2->text();
    switch (CheckStartingNumber(text)) {
    case StartingNumberVerdict::LeaveAlone:
        return;
    case StartingNumberVerdict::Store:
        // The run reads the box, not the store: a settings file that cannot
        // be written must not take a good number away from the user.
        WriteOption(SettingKeys::Text2, text);
        return;
    case StartingNumberVerdict::Reset:
        break;
    }
    Text2->setText(QString(kDefaultStartingNumber));
}

void Form1::Check2_Click()
{
    WriteOption(SettingKeys::Check2, QString::number(ControlEvents::checkValue(Check2)));
}

void Form1::Check3_Click()
{
    WriteOption(SettingKeys::Check3, QString::number(ControlEvents::checkValue(Check3)));
}

void Form1::Check4_Click()
{
    WriteOption(SettingKeys::Check4, QString::number(ControlEvents::checkValue(Check4)));
}

RenameRequest Form1::readRenameRequest() const
{
    using ControlEvents::checkValue;
    RenameRequest request;
    request.type = static_cast<RenamingType>(Combo3->currentIndex());
    request.newText = Text1->text();
    request.newExtension = Combo1->currentText();
    request.numberText = Text2->text();
    request.pad = checkValue(Check2) == 1;
    request.keepExisting = checkValue(Check4) == 1;
    request.rememberNumber = checkValue(Check3) != 0;
    request.filterOn = checkValue(Check1) == 1;
    request.filterExtension = Combo2->currentText();
    request.entryCount = File1->count();
    return request;
}

void Form1::Command1_Click()
{
    if (m_running)
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
    const QList<RenameEntry> entries = File1->renameEntries();
    // While the run goes, the running number lives here and reaches Text2
    // whenever the window paints: one text box update per file would cost
    // more than many a rename.
    m_runNumber = Text2->text();
    m_runNumberPending = false;
    m_running = true;
    m_sinceRepaint.start();
    const QString folder = File1->path();
    // The number box and the bar may run a batch of files ahead of the
    // moves: nobody can see the difference, and the moves overlap the
    // window's work.
    const RenameReport report = RunRename(FolderHandle(folder), entries, request, *this, {.batchedMoves = true});
    m_running = false;
    flushRunNumber();
    feedPreview();

    // A folder deleted while it was shown leaves the lists on the nearest
    // folder that is still there, before the user is told.
    const bool folderGone = !QFileInfo(folder).exists();
    if (folderGone)
        Dir1->setPath(nearestExistingFolder(folder));

    if (report.refusal != RenameReport::Refusal::None)
        present(report.refusalMessage);

    // A file that stayed where it was must not go unnoticed.
    if (!report.leftInPlace.isEmpty())
        present(describeLeftInPlace(folder, report, folderGone));

    updateUndoItem();
    if (m_closeRequested) {
        m_closeRequested = false;
        close();
    }
}

// The preview is handed what a run would be handed; it never reads the
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
    if (PreviewWindow *preview = PreviewWindow::current(); preview && !m_running)
        preview->inputChanged();
}

void Form1::flushRunNumber()
{
    if (!m_runNumberPending)
        return;
    m_runNumberPending = false;
    Text2->setText(m_runNumber);
}

void Form1::setNumberText(const QString &text)
{
    if (!m_running) {
        Text2->setText(text);
        return;
    }
    m_runNumber = text;
    m_runNumberPending = true;
}

void Form1::setProgressValue(float percent)
{
    ProgressBar1->setValue(qRound(percent));
    // The run keeps the window to itself; now and then the window is given
    // the chance to paint, but no input reaches it.
    if (m_running && m_sinceRepaint.elapsed() >= kRunRepaintMilliseconds) {
        flushRunNumber();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sinceRepaint.restart();
    }
}

void Form1::setFilterText(const QString &text)
{
    Combo2->setEditText(text);
}

void Form1::refreshLists()
{
    File1->refresh();
}

bool Form1::stopRequested()
{
    return m_closeRequested;
}
