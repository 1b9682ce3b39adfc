#pragma once

#include "core/ProductInfo.h"
#include "skin/WindowSkin.h"

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;
class Skin;

// The start-up window: a frameless picture in the middle of the screen that
// shows the main window and hides itself after a fixed number of timer ticks. It stays
// loaded, hidden, for the rest of the run.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    // 2 per tick up to 150: the main window comes on the 75th tick.
    static constexpr qint16 kTickStep = 2;
    static constexpr qint16 kMainWindowCount = 150;
    // 75 ticks of 13 ms keep the picture up for about one second.
    static constexpr int kTickMilliseconds = 13;

    // `product` and `skin` are passed on to the main window; the splash
    // window carries the skin as its skin control `skn`.
    explicit frmSplash(ProductInfo product = {}, WindowSkin skin = {}, QWidget *parent = nullptr);

    // Skins the window and starts the skin support when the skin is on, then
    // starts the timer.
    void Form_Load();
    void Timer2_Timer();

    // How the main window is brought up. By default it
    // loads and shows Form1 with the splash window's product and skin; tests
    // put their own in.
    void setMainWindowLoader(std::function<void()> loader);

    QLabel *Image1 = nullptr;
    // The skin control every window of the program is skinned through; null
    // when the program runs without a skin.
    Skin *skn = nullptr;
    QTimer *Timer2 = nullptr;
    qint16 intTemp = 0;

signals:
    // Emitted once the main window is up and the splash window hidden.
    void mainWindowShown();

private:
    const ProductInfo m_product;
    const WindowSkin m_skin;
    std::function<void()> m_loadMainWindow;
};
