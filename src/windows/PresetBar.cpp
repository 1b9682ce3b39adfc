#include "windows/PresetBar.h"

#include "rename/rules/PresetFile.h"
#include "windows/ProgramMessage.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

QString presetFilter()
{
    return PresetBar::tr("Rule presets (*.rules);;All files (*)");
}

// A name the presets folder can hold as one file of its own: no folder in
// it, nothing hidden, nothing that leads out.
bool usableName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.startsWith(u'.') && !name.contains(QChar(0));
}

} // namespace

PresetDialogs PresetDialogs::standard()
{
    PresetDialogs dialogs;
    dialogs.askName = [](QWidget *parent, const QString &suggested) {
        return QInputDialog::getText(parent, PresetBar::tr("Save Preset"), PresetBar::tr("Name of the preset:"),
                                     QLineEdit::Normal, suggested)
            .trimmed();
    };
    dialogs.confirm = [](QWidget *parent, const QString &question) {
        return QMessageBox::question(parent, parent->window()->windowTitle(), question) == QMessageBox::Yes;
    };
    dialogs.openFile = [](QWidget *parent) {
        return QFileDialog::getOpenFileName(parent, PresetBar::tr("Import Preset"), QString(), presetFilter());
    };
    dialogs.saveFile = [](QWidget *parent, const QString &suggested) {
        return QFileDialog::getSaveFileName(parent, PresetBar::tr("Export Preset"), suggested, presetFilter());
    };
    dialogs.message = [](QWidget *parent, const QString &text) {
        ShowProgramMessage(parent, parent->window()->windowTitle(), text);
    };
    return dialogs;
}

PresetBar::PresetBar(QWidget *parent)
    : QWidget(parent)
    , m_dialogs(PresetDialogs::standard())
{
    label = new QLabel(tr("&Preset:"), this);
    presets = new QComboBox(this);
    presets->setObjectName(QStringLiteral("presets"));
    presets->setAccessibleName(tr("Preset"));
    presets->setPlaceholderText(tr("(not saved)"));
    presets->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    presets->setMinimumContentsLength(16);
    label->setBuddy(presets);

    const auto button = [this](const QString &text, const char *name, const QString &accessible) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAccessibleName(accessible);
        return b;
    };
    save = button(tr("&Save"), "save", tr("Save preset"));
    saveAs = button(tr("Save &As..."), "saveAs", tr("Save preset as"));
    remove = button(tr("&Delete"), "remove", tr("Delete preset"));
    importButton = button(tr("&Import..."), "importButton", tr("Import preset"));
    exportButton = button(tr("E&xport..."), "exportButton", tr("Export preset"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(presets, 1);
    for (QPushButton *b : {save, saveAs, remove, importButton, exportButton})
        layout->addWidget(b);

    connect(presets, &QComboBox::activated, this, &PresetBar::load);
    connect(save, &QPushButton::clicked, this, &PresetBar::saveChosen);
    connect(saveAs, &QPushButton::clicked, this, &PresetBar::saveUnderNewName);
    connect(remove, &QPushButton::clicked, this, &PresetBar::removeChosen);
    connect(importButton, &QPushButton::clicked, this, &PresetBar::importFile);
    connect(exportButton, &QPushButton::clicked, this, &PresetBar::exportFile);
    listPresets(QString());
}

void PresetBar::setRulesAccess(std::function<RuleList()> current, std::function<void(const RuleList &)> apply)
{
    m_current = std::move(current);
    m_apply = std::move(apply);
}

void PresetBar::setDialogs(PresetDialogs dialogs)
{
    m_dialogs = std::move(dialogs);
}

QString PresetBar::chosen() const
{
    return presets->currentIndex() < 0 ? QString() : presets->currentText();
}

void PresetBar::showChosen(const QString &name)
{
    listPresets(name);
}

void PresetBar::tell(const QString &text)
{
    if (m_dialogs.message)
        m_dialogs.message(this, text);
}

void PresetBar::load(int index)
{
    RuleList rules;
    QString error;
    if (index < 0 || !PresetFile::read(PresetFile::pathOf(presets->itemText(index)), &rules, &error)) {
        // Nothing changes: the list, nor the preset it is shown as.
        tell(error);
        const QSignalBlocker quiet(presets);
        presets->setCurrentIndex(m_shown);
        return;
    }
    m_shown = index;
    if (m_apply)
        m_apply(rules);
    updateButtons();
    emit chosenChanged(chosen());
}

bool PresetBar::writePreset(const QString &name, const RuleList &rules)
{
    QString error;
    if (!PresetFile::write(PresetFile::pathOf(name), rules, &error)) {
        tell(error);
        return false;
    }
    listPresets(name);
    emit chosenChanged(name);
    return true;
}

void PresetBar::saveChosen()
{
    if (chosen().isEmpty())
        saveUnderNewName();
    else if (m_current)
        writePreset(chosen(), m_current());
}

void PresetBar::saveUnderNewName()
{
    if (!m_dialogs.askName || !m_current)
        return;
    const QString name = m_dialogs.askName(this, chosen());
    if (name.isEmpty())
        return;
    if (!usableName(name)) {
        tell(tr("\"%1\" cannot be the name of a preset: it may not hold \"/\" nor start with a dot.").arg(name));
        return;
    }
    if (name != chosen() && PresetFile::names().contains(name)
        && !m_dialogs.confirm(this, tr("A preset named \"%1\" exists. Replace it?").arg(name)))
        return;
    writePreset(name, m_current());
}

void PresetBar::removeChosen()
{
    const QString name = chosen();
    if (name.isEmpty() || !m_dialogs.confirm(this, tr("Delete the preset \"%1\"?").arg(name)))
        return;
    QFile file(PresetFile::pathOf(name));
    if (!file.remove()) {
        tell(tr("The preset \"%1\" cannot be deleted: %2").arg(name, file.errorString()));
        return;
    }
    // The rules stay in the list; they are no longer a preset.
    listPresets(QString());
    emit chosenChanged(QString());
}

void PresetBar::importFile()
{
    if (!m_dialogs.openFile)
        return;
    const QString path = m_dialogs.openFile(this);
    if (path.isEmpty())
        return;
    RuleList rules;
    QString error;
    if (!PresetFile::read(path, &rules, &error)) {
        tell(error);
        return;
    }
    // Kept as a preset of its own, under the file's name.
    const QString name = QFileInfo(path).completeBaseName();
    const bool saved = QFileInfo(path).absoluteFilePath() == QFileInfo(PresetFile::pathOf(name)).absoluteFilePath();
    if (!saved && usableName(name)) {
        if (PresetFile::names().contains(name)
            && !m_dialogs.confirm(this, tr("A preset named \"%1\" exists. Replace it?").arg(name)))
            return;
        if (!writePreset(name, rules))
            return;
    }
    if (m_apply)
        m_apply(rules);
}

void PresetBar::exportFile()
{
    if (!m_dialogs.saveFile || !m_current)
        return;
    const QString suggested = (chosen().isEmpty() ? tr("rules") : chosen()) + QStringLiteral(".rules");
    const QString path = m_dialogs.saveFile(this, suggested);
    if (path.isEmpty())
        return;
    QString error;
    if (!PresetFile::write(path, m_current(), &error))
        tell(error);
}

void PresetBar::listPresets(const QString &select)
{
    const QSignalBlocker quiet(presets);
    presets->clear();
    presets->addItems(PresetFile::names());
    presets->setCurrentIndex(select.isEmpty() ? -1 : presets->findText(select));
    m_shown = presets->currentIndex();
    updateButtons();
}

void PresetBar::updateButtons()
{
    remove->setEnabled(presets->currentIndex() >= 0);
}
