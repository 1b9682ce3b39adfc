#pragma once

#include "core/ProductInfo.h"
#include "rename/PreviewComputer.h"
#include "skin/WindowSkin.h"

#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QStackedWidget;
class QTableView;
class PreviewModel;

// The modeless "Preview" window: every selected file of the list in run
// order with its new name and what the run will do to it, and a line that
// counts each kind. It is notified whenever the folder, the entries or the
// request change; it recomputes after a short pause, off its own thread, and
// shows the newest result. A request that would be refused
// shows the refusal instead of rows.
//
// Whether it is open and where it stands are kept per user in the settings
// file, in a section of its own, so that it comes back at the next start.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    static const QString kSection;     // "Preview"
    static const QString kOpenKey;     // "Open": "1" while the window is open
    static const QString kGeometryKey; // "Geometry"

    PreviewWindow(const ProductInfo &product, const WindowSkin &skin, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    // Brings up the window: the open one, or a new one placed where the last
    // one stood. Notes it as open.
    static PreviewWindow *open(const ProductInfo &product, const WindowSkin &skin);
    static PreviewWindow *current();
    // Whether the window was open when the program last ended.
    static bool wasOpen(const ProductInfo &product);

    // What the preview is computed from: the folder, the list's entries and
    // the request, as a run would be given them. Asked once a burst of
    // changes is over.
    void setInputSource(std::function<PreviewInput()> source);
    // Something the source answers has changed.
    void inputChanged();

    PreviewComputer *computer() const { return m_computer; }
    PreviewModel *model() const { return m_model; }
    // The generation of the input shown, 0 before the first result.
    quint64 shownGeneration() const { return m_shownGeneration; }

    QCheckBox *problemsOnly = nullptr; // "Only files that will not simply be renamed"
    QStackedWidget *pages = nullptr;   // the list, or the refusal
    QTableView *list = nullptr;
    QLabel *refusal = nullptr;
    QLabel *summary = nullptr;

signals:
    // A new result is on screen.
    void previewShown(quint64 generation);
    // The folder the preview was last computed for has changed on disk, or
    // is gone: whoever feeds the window should notify it of a change.
    void folderChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPreview(const RenamePreview &preview, quint64 generation);
    void watchFolder(const QString &folder);
    void restorePlacement();
    void storePlacement();

    PreviewModel *m_model = nullptr;
    PreviewComputer *m_computer = nullptr;
    QTimer m_placementSave;
    QFileSystemWatcher m_folderWatch;
    const QString m_appName; // whose settings file keeps the window's place
    quint64 m_shownGeneration = 0;
};
