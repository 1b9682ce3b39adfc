#pragma once

#include "core/ProductInfo.h"
#include "rename/rules/RulesPreviewComputer.h"
#include "skin/WindowSkin.h"

#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QSplitter;
class PresetBar;
class RuleListEditor;
class RulesPreviewPane;

// The modeless "Rules" window: a rule list with its preset bar above, the
// preview of what the list does to the main window's selected files beside
// it, and Rename, which has the main window run the list.
//
// The main window gives it the folder, the list's entries and whether
// existing files are kept, and notifies it whenever they change; the window
// adds the rules and previews off its own thread. The rule list in use is
// kept in the configuration folder, in the presets' format, at every change,
// and comes back at the next start. Whether the window is open and where it
// stands are kept as the Preview window keeps its own.
class RulesWindow : public QWidget
{
    Q_OBJECT

public:
    static const QString kSection;   // "Rules"
    static const QString kOpenKey;   // "Open": "1" while the window is open
    static const QString kPresetKey; // "Preset": the preset chosen, if any

    RulesWindow(const ProductInfo &product, const WindowSkin &skin, QWidget *parent = nullptr);
    ~RulesWindow() override;

    static RulesWindow *open(const ProductInfo &product, const WindowSkin &skin);
    static RulesWindow *current();
    static bool wasOpen(const ProductInfo &product);
    // The file that keeps the rule list in use.
    static QString rulesInUsePath();

    // The folder, the entries and keepExisting a run would be given; the
    // rules are the window's own.
    void setInputSource(std::function<RulesPreviewInput()> source);
    void inputChanged();
    // What Rename does with the rules: the main window runs them.
    void setRenameHandler(std::function<void(const RuleList &)> rename);
    // A run is going (Rename is greyed), or has ended.
    void setRunning(bool running);

    RulesPreviewComputer *computer() const { return m_computer; }

    PresetBar *presetBar = nullptr;
    RuleListEditor *editor = nullptr;
    QSplitter *splitter = nullptr;
    RulesPreviewPane *preview = nullptr;
    QLabel *keepExistingNote = nullptr; // how the main window's overwrite box is set
    QLabel *renameReason = nullptr;     // why Rename is greyed
    QPushButton *renameButton = nullptr;
    QPushButton *closeButton = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void rulesChanged();
    void showKeepExisting(bool keep);
    void updateRename();
    void rename();
    void restoreRules();
    void storeRules();

    RulesPreviewComputer *m_computer = nullptr;
    std::function<RulesPreviewInput()> m_source;
    std::function<void(const RuleList &)> m_rename;
    QTimer m_placementSave;
    QTimer m_rulesSave;
    const QString m_appName;
    bool m_running = false;
};
