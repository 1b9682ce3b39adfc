#include "app/frmSplash.h"

#include "app/Artwork.h"
#include "app/Form1.h"
#include "core/ControlKinds.h"
#include "skin/Skin.h"
#include "skin/SkinEngine.h"
#include "skin/SkinSupport.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kWidth = 478;
constexpr int kHeight = 318;

} // namespace

frmSplash::frmSplash(ProductInfo product, WindowSkin skin, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , skn(skin.skin.data())
    , m_product(std::move(product))
    , m_skin(std::move(skin))
    , m_loadMainWindow([this] {
        // The main window ends the program when it closes; it is never
        // deleted before that.
        auto *form = new Form1(m_product, m_skin);
        form->Form_Load();
        form->show();
    })
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(kWidth, kHeight);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    ControlKinds::setKind(Image1, ControlKinds::Image);
    Image1->setGeometry(0, 0, kWidth, kHeight);
    Image1->setPixmap(SplashPicture(ReadVersionRecord(), kWidth, kHeight, devicePixelRatioF()));

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    ControlKinds::setKind(Timer2, ControlKinds::Timer);
    Timer2->setInterval(kTickMilliseconds);
    Timer2->setTimerType(Qt::PreciseTimer);
    connect(Timer2, &QTimer::timeout, this, &frmSplash::Timer2_Timer);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSplash::setMainWindowLoader(std::function<void()> loader)
{
    m_loadMainWindow = std::move(loader);
}

void frmSplash::Form_Load()
{
    if (m_skin.enabled) {
        SkinWindow(this, m_skin);
        // Message boxes and other dialogs wear the skin from here on.
        SkinSupport &support = SkinSupport::instance();
        support.SetSkin(skn);
        support.Begin();
    }
    Timer2->start();
}

void frmSplash::Timer2_Timer()
{
    intTemp = static_cast<qint16>(intTemp + kTickStep);
    if (intTemp != kMainWindowCount)
        return;
    // Stopped first, so that no tick can start a second switch to the main window while the
    // main window loads.
    Timer2->stop();
    if (m_loadMainWindow)
        m_loadMainWindow();
    hide();
    emit mainWindowShown();
}
