#include "windows/Form8.h"

#include "core/SettingKeys.h"
#include "core/SettingsStore.h"
#include "rename/FileExists.h"
#include "skin/SkinEngine.h"
#include "core/CheckBoxValue.h"
#include "windows/HelpLocation.h"
#include "windows/OnTop.h"
#include "rtf/RtfDocumentLoader.h"
#include "windows/WindowArtwork.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextBrowser>
#include <QUrl>

namespace {
// Far more than any help text; a larger file is read up to here.
constexpr qint64 kMaxHelpBytes = 32 * 1024 * 1024;
} // namespace

Form8::Form8(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form8"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Readme/Help"));
    setWindowIcon(HelpWindowIcon());
    setFixedSize(686, 528);

    rtf1 = new QTextBrowser(this);
    rtf1->setObjectName(QStringLiteral("rtf1"));
    rtf1->setProperty("controlKind", QStringLiteral("RichTextBox"));
    rtf1->setGeometry(0, 0, 685, 501);
    rtf1->setReadOnly(true);
    rtf1->setOpenLinks(false);
    rtf1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    rtf1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(rtf1, &QTextBrowser::anchorClicked, this, &Form8::openLink);

    Check1 = new QCheckBox(tr("Show at Startup"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setProperty("controlKind", QStringLiteral("CheckBox"));
    Check1->setGeometry(4, 508, 133, 17);
    Check1->setCheckState(Qt::Checked);
    // Every change runs the click handler, whether the user or the load step
    // made it.
    connect(Check1, &QCheckBox::stateChanged, this, [this] { Check1_Click(); });
}

bool Form8::Form_Load()
{
    if (skinEnabled)
        ApplySkinToWindow(this);

    const QString path = HelpFilePath();
    if (!FileExists(path))
        return false;

    loadDocument(path);
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
