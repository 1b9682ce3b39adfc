#include "windows/PreviewWindow.h"

#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "rename/PreviewModel.h"
#include "skin/SkinEngine.h"
#include "windows/AccessibleWidgets.h"
#include "windows/PreviewOutcomeLook.h"
#include "windows/WindowPlacement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

const QString PreviewWindow::kSection = QStringLiteral("Preview");
const QString PreviewWindow::kOpenKey = QStringLiteral("Open");
const QString PreviewWindow::kGeometryKey = QStringLiteral("Geometry");

namespace {

QPointer<PreviewWindow> openWindow;

constexpr QSize kDefaultSize{640, 420};
// Moving or resizing sends a stream of events; the place is written once
// the window has come to rest.
constexpr int kPlacementSaveMilliseconds = 400;

QString readPreviewSetting(const QString &appName, const QString &key)
{
    return ReadSetting(appName, PreviewWindow::kSection, key, QString());
}

void writePreviewSetting(const QString &appName, const QString &key, const QString &value)
{
    WriteSetting(appName, PreviewWindow::kSection, key, value);
}

} // namespace

PreviewWindow::PreviewWindow(const ProductInfo &product, const WindowSkin &skin, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_model(new PreviewModel(this))
    , m_computer(new PreviewComputer(this))
    , m_appName(product.productName)
{
    setObjectName(QStringLiteral("PreviewWindow"));
    DescribeWidgetsForAccessibility();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Preview"));
    resize(kDefaultSize);

    problemsOnly = new QCheckBox(tr("Only files that will not simply be renamed"), this);
    problemsOnly->setObjectName(QStringLiteral("problemsOnly"));

    list = new QTableView(this);
    list->setObjectName(QStringLiteral("list"));
    list->setAccessibleName(tr("Files and their new names"));
    ShowPreviewModel(list, m_model);

    refusal = new QLabel(this);
    refusal->setObjectName(QStringLiteral("refusal"));
    refusal->setAlignment(Qt::AlignCenter);
    refusal->setWordWrap(true);

    pages = new QStackedWidget(this);
    pages->addWidget(list);
    pages->addWidget(refusal);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    // A narrow window, or a longer language, wraps the counts rather than cut them.
    summary->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(problemsOnly);
    layout->addWidget(pages, 1);
    layout->addWidget(summary);

    connect(problemsOnly, &QCheckBox::toggled, m_model, &PreviewModel::setProblemsOnly);
    connect(m_computer, &PreviewComputer::previewReady, this, &PreviewWindow::showPreview);

    m_placementSave.setSingleShot(true);
    m_placementSave.setInterval(kPlacementSaveMilliseconds);
    connect(&m_placementSave, &QTimer::timeout, this, &PreviewWindow::storePlacement);
    // Files added or taken away, the folder deleted: what the preview shows
    // would no longer be true.
    connect(&m_folderWatch, &QFileSystemWatcher::directoryChanged, this, &PreviewWindow::folderChanged);

    SkinWindow(this, skin);
}

PreviewWindow::~PreviewWindow() = default;

PreviewWindow *PreviewWindow::open(const ProductInfo &product, const WindowSkin &skin)
{
    if (openWindow) {
        BringForward(openWindow);
        return openWindow;
    }
    auto *window = new PreviewWindow(product, skin);
    window->restorePlacement();
    window->QWidget::show();
    openWindow = window;
    writePreviewSetting(product.productName, kOpenKey, QStringLiteral("1"));
    return window;
}

PreviewWindow *PreviewWindow::current()
{
    return openWindow;
}

bool PreviewWindow::wasOpen(const ProductInfo &product)
{
    return readPreviewSetting(product.productName, kOpenKey) == QLatin1String("1");
}

void PreviewWindow::setInputSource(std::function<PreviewInput()> source)
{
    // Read on this thread when a computation starts: the folder read is the
    // one watched.
    m_computer->setSource([this, source = std::move(source)] {
        PreviewInput input = source();
        watchFolder(input.folder);
        return input;
    });
}

void PreviewWindow::watchFolder(const QString &folder)
{
    const QStringList watched = m_folderWatch.directories();
    if (watched.size() == 1 && watched.constFirst() == folder)
        return;
    if (!watched.isEmpty())
        m_folderWatch.removePaths(watched);
    if (!folder.isEmpty())
        m_folderWatch.addPath(folder);
}

void PreviewWindow::inputChanged()
{
    // Greyed until the result for the new input is on screen.
    summary->setEnabled(false);
    m_computer->inputChanged();
}

void PreviewWindow::showPreview(const RenamePreview &preview, quint64 generation)
{
    ShowPreviewPage(preview, m_model, pages, list, refusal, summary);
    m_shownGeneration = generation;
    emit previewShown(generation);
}

void PreviewWindow::restorePlacement()
{
    RestoreWindowPlacement(this, m_appName, kSection);
}

void PreviewWindow::storePlacement()
{
    StoreWindowPlacement(this, m_appName, kSection);
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    m_placementSave.stop();
    storePlacement();
    writePreviewSetting(m_appName, kOpenKey, QStringLiteral("0"));
    QWidget::closeEvent(event);
}

void PreviewWindow::moveEvent(QMoveEvent *event)
{
    if (isVisible())
        m_placementSave.start();
    QWidget::moveEvent(event);
}

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    if (isVisible())
        m_placementSave.start();
    QWidget::resizeEvent(event);
}
