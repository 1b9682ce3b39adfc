#pragma once

#include "rename/rules/RuleList.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

// What the preset bar asks the user. Tests put in their own answers; by
// default they are the usual dialogs. An empty answer, or false, is a cancel.
struct PresetDialogs
{
    // A name for the preset, suggested: the one chosen.
    std::function<QString(QWidget *parent, const QString &suggested)> askName;
    std::function<bool(QWidget *parent, const QString &question)> confirm;
    std::function<QString(QWidget *parent)> openFile;
    std::function<QString(QWidget *parent, const QString &suggested)> saveFile;
    std::function<void(QWidget *parent, const QString &text)> message;

    static PresetDialogs standard();
};

// The bar over a rule list that keeps it as a preset: choose one of the
// saved presets, save the list under its name or a new one, delete it, and
// take a list from a file or write it to one. A preset that does not read
// (damaged, or from a newer version) is said in a message naming the line,
// and the list is left as it was.
class PresetBar : public QWidget
{
    Q_OBJECT

public:
    explicit PresetBar(QWidget *parent = nullptr);

    // How the bar reaches the list it keeps.
    void setRulesAccess(std::function<RuleList()> current, std::function<void(const RuleList &)> apply);
    void setDialogs(PresetDialogs dialogs);

    // The preset chosen; empty when the list is none of them.
    QString chosen() const;
    // Chooses the preset without loading it (the list shown came back from
    // the last session); one not saved is none.
    void showChosen(const QString &name);

    QLabel *label = nullptr;
    QComboBox *presets = nullptr;
    QPushButton *save = nullptr;
    QPushButton *saveAs = nullptr;
    QPushButton *remove = nullptr;
    QPushButton *importButton = nullptr;
    QPushButton *exportButton = nullptr;

signals:
    // Another preset is chosen, or none.
    void chosenChanged(const QString &name);

private:
    void load(int index);
    void saveChosen();
    void saveUnderNewName();
    void removeChosen();
    void importFile();
    void exportFile();
    bool writePreset(const QString &name, const RuleList &rules);
    void listPresets(const QString &select);
    void updateButtons();
    void tell(const QString &text);

    std::function<RuleList()> m_current;
    std::function<void(const RuleList &)> m_apply;
    PresetDialogs m_dialogs;
    int m_shown = -1; // the index chosen before the one being loaded
};
