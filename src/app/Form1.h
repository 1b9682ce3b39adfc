#pragma once

#include "core/ProductInfo.h"
#include "rename/RenameRun.h"
#include "skin/WindowSkin.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QShortcut;
class RuleList;
class RenameRunner;
class DirListBox;
class DriveListBox;
class FileListBox;
class FileSelectionPanel;
class SkinLabelArray;

// The main window. Controls are public and named as the handlers know them,
// so tests and the skin can reach them. Constructing the window lays out the
// controls in their design state; Form_Load() then restores the stored
// options, and closing the window ends the program. A rename runs on a
// worker thread (RenameRunner); closing the window, Exit or Esc during it
// stop it at its next file, and the window closes once it has ended.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    // Caption of every message box the window shows.
    static const QString kMessageTitle;

    using MessagePresenter = std::function<void(const QString &title, const QString &text)>;

    // The window shows `product` in its title and passes it and `skin` on to
    // the windows it opens.
    explicit Form1(ProductInfo product, WindowSkin skin = {}, QWidget *parent = nullptr);
    ~Form1() override;

    // How messages reach the user: a modal box with only OK and no icon,
    // unless a test puts its own in.
    void setMessagePresenter(MessagePresenter presenter);
    // What ending the program means: leaving the event loop at once, unless
    // a test puts its own in.
    void setProgramEnd(std::function<void()> end);
    // How the help and About windows are brought up.
    void setHelpWindowOpener(std::function<void()> open);
    void setAboutWindowOpener(std::function<void()> open);

    FileSelectionPanel *selectionPanel() const { return m_panel; }

    // After the load step: shows the folder (or the folder of the files)
    // given on the command line, as if the user had picked it.
    void openFromCommandLine(const QStringList &paths);

    // The options as a rename request, read from the controls.
    RenameRequest readRenameRequest() const;

    // Whether a rename started from the window is still going.
    bool isRunning() const;
    RenameRunner *renameRunner() const { return m_runner; }

    // Handlers.
    void Form_Load();
    void Form_Unload();
    void Command1_Click();
    void Combo3_Click();
    void Combo1_Click();
    void Text1_Change();
    void Text2_KeyUp();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void mnuFileItem_Click(qint16 index);
    // The File menu's items by what they do; mnuFileItem_Click takes an
    // item's index, not its place in the menu.
    enum FileItem : qint16 { RenameNowItem = 0, ExitItem = 1, PreviewItem = 2, RulesItem = 3 };
    void mnuHelpItem_Click();
    void mnuAboutItem_Click();
    void mnuUndoItem_Click();

    // Controls.
    QPushButton *Command1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *Combo3 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check4 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *Label6 = nullptr;
    DriveListBox *Drive1 = nullptr;
    DirListBox *Dir1 = nullptr;
    QLabel *Label5 = nullptr;
    FileListBox *File1 = nullptr;
    QPushButton *Command4 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    // Templates of the skinned label twins, element 0 in Frame1 and Frame2.
    SkinLabelArray *SkinLabel1 = nullptr;
    SkinLabelArray *SkinLabel2 = nullptr;

    QMenu *mnuFile = nullptr;
    QList<QAction *> mnuFileItem;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpItem = nullptr;
    QMenu *mnuAbout = nullptr;
    QAction *mnuAboutItem = nullptr;
    // "Undo Last Rename": undoes the last run in the folder shown.
    QAction *mnuUndoItem = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildRenamingOptions(QWidget *client);
    void buildFileSelection(QWidget *client);
    void describeForAccessibility();
    void buildMenus();
    void placeWindow();
    void connectEvents();
    void connectRun();
    void restoreOptions();
    void runRename(const RenameRequest &request);
    void holdInputDuringRun(bool hold);
    void runFinished(const QString &folder, const RenameReport &report);
    void openPreview();
    void feedPreview();
    void openRules();
    void renameByRules(const RuleList &rules);
    void selectRenamed(const RenameReport &report);
    void present(const QString &text) const;
    void endProgram();
    void updateUndoItem();

    const ProductInfo m_product;
    const WindowSkin m_skin;
    FileSelectionPanel *m_panel = nullptr;
    MessagePresenter m_presenter;
    std::function<void()> m_end;
    std::function<void()> m_openHelp;
    std::function<void()> m_openAbout;

    RenameRunner *const m_runner;
    QShortcut *m_stopKey = nullptr;
    QPointer<QWidget> m_focusBeforeRun;
    // What to do once the run has stopped: close the window, or end the
    // program as Exit does.
    bool m_closeAfterRun = false;
    bool m_endAfterRun = false;
    // The run going was started from the Rules window.
    bool m_rulesRun = false;
};
