#include "app/Form1.h"

#include "app/Artwork.h"
#include "core/ControlKinds.h"
#include "rename/NameComposition.h"
#include "rename/RenamingOptions.h"
#include "selection/DirListBox.h"
#include "selection/DriveListBox.h"
#include "selection/FileListBox.h"
#include "selection/FileSelectionPanel.h"
#include "selection/FileSelectionWidgets.h"
#include "skin/SkinAccessibility.h"
#include "skin/SkinLabelArray.h"
#include "windows/ControlEvents.h"
#include "windows/WindowSetup.h"
#include "core/SettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

// The window's controls and menus, laid out as designed.

namespace {

// The window is laid out in twips; 15 of them make one pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;

QRect fromTwips(int left, int top, int width, int height)
{
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel};
}

constexpr QSize kClientSize{8595 / kTwipsPerPixel, 7395 / kTwipsPerPixel};

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

} // namespace

// Every text a control shows has a mnemonic (the letter after "&"), and each
// label is the buddy of the control it names: Alt and the letter reach the
// control, and screen readers name the control by its label.

void Form1::buildControls()
{
    setFont(windowFont());
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
    QAction *rules = new QAction(tr("Ru&les..."), mnuFile);
    rules->setObjectName(QStringLiteral("mnuFileItem"));
    rules->setProperty(ControlKinds::IndexProperty, int(RulesItem));
    rules->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    mnuFile->insertAction(mnuFileItem.at(ExitItem), rules);
    mnuFileItem.append(rules);

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

void Form1::placeWindow()
{
    // The status bar says what went well without a box to close (an undo),
    // and why a greyed menu item is greyed.
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    resize(kClientSize.width(),
           kClientSize.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
