#include "windows/frmAbout.h"

#include "core/ControlKinds.h"
#include "core/ProductInfo.h"
#include "skin/SkinEngine.h"
#include "skin/SkinLabel.h"
#include "skin/SkinLabelArray.h"
#include "windows/WindowArtwork.h"
#include "windows/WindowSetup.h"

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
Label *makeLabel(QWidget *window, const char *name, QLatin1StringView kind, const QRect &geometry, const QFont &font,
                 const QString &caption = QString())
{
    auto *label = MakeControl<Label>(window, name, kind, geometry);
    label->setFont(font);
    label->setText(caption);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

frmAbout::frmAbout(ProductInfo product, WindowSkin skin, QWidget *parent)
    : QWidget(parent, AuxiliaryWindowFlags(Qt::Window))
    , m_product(std::move(product))
    , m_skin(std::move(skin))
{
    SetUpAuxiliaryWindow(this, "frmAbout", AboutWindowIcon(), {497, 195});
    setFont(verdana(8.25, false));

    Picture1 = MakeControl<BannerPicture>(this, "Picture1", ControlKinds::PictureBox, {0, 0, 501, 69});

    const QFont heading = verdana(14.25, true);
    const QFont field = verdana(12, true);
    Label1 = makeLabel<SkinLabel>(this, "Label1", ControlKinds::SkinLabel, QRect(8, 80, 473, 29), heading);
    Label2 = makeLabel<QLabel>(this, "Label2", ControlKinds::Label, QRect(12, 112, 153, 21), field, tr("Version:"));
    lblVersion = makeLabel<SkinLabel>(this, "lblVersion", ControlKinds::SkinLabel, QRect(172, 112, 309, 21), field);
    Label3 = makeLabel<QLabel>(this, "Label3", ControlKinds::Label, QRect(12, 140, 153, 21), field, tr("Owned By:"));
    lblCompany = makeLabel<SkinLabel>(this, "lblCompany", ControlKinds::SkinLabel, QRect(172, 140, 309, 21), field);
    Label4 = makeLabel<QLabel>(this, "Label4", ControlKinds::Label, QRect(12, 168, 153, 21), field, tr("Website:"));
    lblWebsite = makeLabel<SkinLabel>(this, "lblWebsite", ControlKinds::SkinLabel, QRect(172, 168, 309, 21), field);

    // The notice lies below the client area: it is part of the window and
    // its label twin, but not seen at the window's size.
    Label5 = makeLabel<QLabel>(
        this, "Label5", ControlKinds::Label, QRect(8, 220, 481, 85), font(),
        tr("Warning: this computer program is protected by copyright law. The program is licensed, "
           "not sold; its owner keeps every right not granted by the licence. Copying or passing on "
           "this program, or any part of it, other than as the licence allows is not permitted."));
    Label5->setWordWrap(true);

    SkinLabel1 = new SkinLabelArray(QStringLiteral("SkinLabel1"), this, this);
}

void frmAbout::Form_Load()
{
    setWindowTitle(tr("About %1").arg(m_product.productName));

    const VersionRecord record = ReadVersionRecord();
    Label1->setText(record.productName);
    lblCompany->setText(record.companyName);
    lblVersion->setText(VersionText(record));
    lblWebsite->setText(record.comments);

    SkinWindow(this, m_skin, {SkinLabel1}, TwinArrayChoice::AlwaysFirst);
}
