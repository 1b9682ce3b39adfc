#include "windows/Form8.h"

#include "core/CheckBoxValue.h"
#include "core/ControlKinds.h"
#include "core/SettingKeys.h"
#include "core/SettingsStore.h"
#include "skin/SkinEngine.h"
#include "windows/AccessibleWidgets.h"
#include "windows/ControlEvents.h"
#include "windows/HelpLocation.h"
#include "windows/OnTop.h"
#include "rtf/RtfDocumentLoader.h"
#include "windows/WindowArtwork.h"
#include "windows/WindowSetup.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextBrowser>
#include <QUrl>

namespace {
// Far more than any help text; a larger file is read up to here.
constexpr qint64 kMaxHelpBytes = 32 * 1024 * 1024;
} // namespace

Form8::Form8(WindowSkin skin, QWidget *parent)
    : QWidget(parent, AuxiliaryWindowFlags(Qt::Dialog))
    , m_skin(std::move(skin))
{
    SetUpAuxiliaryWindow(this, "Form8", HelpWindowIcon(), {686, 528});
    setWindowTitle(tr("Readme/Help"));

    DescribeWidgetsForAccessibility();
    rtf1 = MakeControl<QTextBrowser>(this, "rtf1", ControlKinds::RichTextBox, {0, 0, 685, 501});
    rtf1->setAccessibleName(tr("Help text"));
    rtf1->setReadOnly(true);
    rtf1->setOpenLinks(false);
    rtf1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    rtf1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(rtf1, &QTextBrowser::anchorClicked, this, &Form8::openLink);

    Check1 = MakeControl<QCheckBox>(this, "Check1", ControlKinds::CheckBox, {4, 508, 133, 17});
    Check1->setText(tr("Show at Startup"));
    Check1->setCheckState(Qt::Checked);
    // Every change runs the click handler, whether the user or the load step
    // made it.
    ControlEvents::onClick(Check1, [this] { Check1_Click(); });
}

bool Form8::Form_Load()
{
    SkinWindow(this, m_skin);
    // Nothing stands to its right: "Beim Start anzeigen" needs more room.
    WidenToText(Check1);

    // A document that is there but cannot be read shows no window either,
    // rather than an empty one.
    const std::optional<QString> path = FindHelpFile();
    if (!path || !QFileInfo(*path).isReadable())
        return false;

    loadDocument(*path);
    SetAlwaysOnTop(this, true);

    if (const std::optional<Qt::CheckState> state = CheckStateFromText(ReadOption(SettingKeys::ShowHelp)))
        Check1->setCheckState(*state);
    return true;
}

void Form8::Check1_Click()
{
    // A greyed state comes only from the store; once the user changes it the
    // box goes back to plain ticked and unticked.
    if (Check1->checkState() != Qt::PartiallyChecked)
        Check1->setTristate(false);
    WriteOption(SettingKeys::ShowHelp, CheckStateText(Check1->checkState()));
}

void Form8::loadDocument(const QString &path)
{
    // The document is read in the background so that no help file holds the
    // windows back; the box shows it once it is read. A document that cannot
    // be read leaves the box empty; the window still opens with its check box.
    auto *loader = new RtfDocumentLoader(this);
    connect(loader, &RtfDocumentLoader::finished, this, [this, loader] {
        if (std::unique_ptr<QTextDocument> document = loader->takeDocument()) {
            document->setDefaultFont(rtf1->document()->defaultFont());
            document->setParent(rtf1);
            rtf1->setDocument(document.release());
            rtf1->moveCursor(QTextCursor::Start);
        }
        loader->deleteLater();
    });
    loader->load(path, kMaxHelpBytes);
}

void Form8::openLink(const QUrl &link)
{
    // Places in the document scroll the view; web and mail addresses open
    // outside. Nothing else a document may name (files, programs) is opened.
    if (link.isRelative() && link.path().isEmpty() && link.hasFragment()) {
        rtf1->scrollToAnchor(link.fragment());
        return;
    }
    const QString scheme = link.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(link);
}
