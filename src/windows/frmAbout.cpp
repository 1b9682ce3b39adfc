#include "windows/frmAbout.h"

#include "core/ProductInfo.h"
#include "skin/SkinEngine.h"
#include "skin/SkinLabel.h"
#include "skin/SkinLabelArray.h"
#include "windows/WindowArtwork.h"

#include <QLabel>

namespace {

QFont verdana(qreal pointSize, bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

template<typename Label>
Label *makeLabel(QWidget *window, const char *name, const char *kind, const QRect &geometry, const QFont &font,
                 const QString &caption = QString())
{
    auto *label = new Label(window);
    label->setObjectName(QLatin1String(name));
    label->setProperty("controlKind", QLatin1String(kind));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setText(caption);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AboutWindowIcon());
    setFont(verdana(8.25, false));
    setFixedSize(497, 195);

    Picture1 = new BannerPicture(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setProperty("controlKind", QStringLiteral("PictureBox"));
    Picture1->setGeometry(0, 0, 501, 69);

    const QFont heading = verdana(14.25, true);
    const QFont field = verdana(12, true);
    Label1 = makeLabel<SkinLabel>(this, "Label1", "SkinLabel", QRect(8, 80, 473, 29), heading);
    Label2 = makeLabel<QLabel>(this, "Label2", "Label", QRect(12, 112, 153, 21), field, tr("Version:"));
    lblVersion = makeLabel<SkinLabel>(this, "lblVersion", "SkinLabel", QRect(172, 112, 309, 21), field);
    Label3 = makeLabel<QLabel>(this, "Label3", "Label", QRect(12, 140, 153, 21), field, tr("Owned By:"));
    lblCompany = makeLabel<SkinLabel>(this, "lblCompany", "SkinLabel", QRect(172, 140, 309, 21), field);
    Label4 = makeLabel<QLabel>(this, "Label4", "Label", QRect(12, 168, 153, 21), field, tr("Website:"));
    lblWebsite = makeLabel<SkinLabel>(this, "lblWebsite", "SkinLabel", QRect(172, 168, 309, 21), field);

    // The notice lies below the client area: it is part of the window and
    // its label twin, but not seen at the window's size.
    Label5 = makeLabel<QLabel>(
        this, "Label5", "Label", QRect(8, 220, 481, 85), font(),
        tr("Warning: this computer program is protected by copyright law. The program is licensed, "
           "not sold; its owner keeps every right not granted by the licence. Copying or passing on "
           "this program, or any part of it, other than as the licence allows is not permitted."));
    Label5->setWordWrap(true);

    SkinLabel1 = new SkinLabelArray(QStringLiteral("SkinLabel1"), this, this);
}

void frmAbout::Form_Load()
{
    setWindowTitle(tr("About %1").arg(CurrentProductInfo().productName));

    const VersionRecord record = ReadVersionRecord();
    Label1->setText(record.productName);
    lblCompany->setText(record.companyName);
    lblVersion->setText(VersionText(record));
    lblWebsite->setText(record.comments);

    if (skinEnabled) {
        MakeLabelTwins(this, {SkinLabel1}, TwinArrayChoice::AlwaysFirst);
        ApplySkinToWindow(this);
    }
}
