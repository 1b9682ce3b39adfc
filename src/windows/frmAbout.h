#pragma once

#include "core/ProductInfo.h"
#include "skin/WindowSkin.h"

#include <QWidget>

class BannerPicture;
class QLabel;
class SkinLabel;
class SkinLabelArray;

// The About window: banner, product name, version, owner and web address.
// It is loaded when opened (see OpenAboutWindow) and unloaded when closed;
// none of its controls reacts to clicks.
class frmAbout : public QWidget
{
    Q_OBJECT

public:
    // The caption names the product as it was read at start-up.
    frmAbout(ProductInfo product, WindowSkin skin, QWidget *parent = nullptr);

    // Fills the labels from the version record, then makes the label twins
    // and skins the window when the skin is on.
    void Form_Load();

    BannerPicture *Picture1 = nullptr;
    SkinLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    SkinLabel *lblVersion = nullptr;
    QLabel *Label3 = nullptr;
    SkinLabel *lblCompany = nullptr;
    QLabel *Label4 = nullptr;
    SkinLabel *lblWebsite = nullptr;
    QLabel *Label5 = nullptr;
    SkinLabelArray *SkinLabel1 = nullptr;

private:
    ProductInfo m_product;
    WindowSkin m_skin;
};
