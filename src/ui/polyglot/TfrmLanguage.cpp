#include "polyglot/TfrmLanguage.h"

#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsPolyglotManager.h"
#include "toolkit/Controls.h"
#include "toolkit/MainWindowOperations.h"
#include "toolkit/RunReported.h"
#include "toolkit/ThemedFrame.h"

#include <QComboBox>
#include <QDir>
#include <QSignalBlocker>

namespace {
// A list control with the designer's names: its items are a list of strings.
class LanguageBox : public QComboBox
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ currentText)

public:
    LanguageBox(const QString& name, QWidget* parent) : QComboBox(parent) { setObjectName(name); }
};
} // namespace

TfrmLanguage* createLanguageDialog(MainWindowOperations* main, TbsPolyglotManager* manager,
                                   const QString& applicationDir)
{
    return new TfrmLanguage(main, manager, applicationDir);
}

TfrmLanguage::TfrmLanguage(MainWindowOperations* main, TbsPolyglotManager* manager,
                           const QString& applicationDir)
    : ThemedDialog(main->ownerWindow(), QStringLiteral("frmLanguage"), QStringLiteral("Jazyk"),
                   titleAndClose, Placement::CentredAtEachShowing),
      m_main(main), m_manager(manager),
      m_directory(QDir(applicationDir).filePath(QStringLiteral("lng")))
{
    takeOwnerFont();
    setFixedSize(285, 114);
    frmLanguageSui = new ThemedFrame(QStringLiteral("frmLanguageSui"), this, 32);

    auto* label =
        new Label(QStringLiteral("Label1"), QStringLiteral("Vyber jazyk:"), frmLanguageSui);
    label->move(24, 49);
    label->setAutoSize(true);
    Label1 = label;
    // Typing would never keep a text (every change re-selects the current
    // language), so the list is not editable: the user picks a name.
    cbLanguages = new LanguageBox(QStringLiteral("cbLanguages"), frmLanguageSui);
    cbLanguages->setGeometry(24, 64, 153, 21);
    Label1->setBuddy(cbLanguages);
    btnOk = new Button(QStringLiteral("btnOk"), QStringLiteral("OK"), frmLanguageSui);
    btnOk->setGeometry(192, 62, 75, 25);
    btnOk->setDefault(true);
    setTabOrder(cbLanguages, btnOk);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cbLanguages, &QComboBox::activated, this,
            [this] { runReported([this] { cbLanguagesChange(); }); });

    applyThemeAndLanguage(
        {QStringLiteral("frmLanguageSui"), QStringLiteral("cbLanguages"), QStringLiteral("btnOk")});
    // The creation handler.
    runReported([this] { fillLanguageList(); });
}

void TfrmLanguage::fillLanguageList()
{
    m_manager->setLangsDir(m_directory);
    // Filling the list is no choice of the user's.
    const QSignalBlocker quiet(cbLanguages);
    cbLanguages->clear();
    TbsCorePolyglot* engine = GetCorePolyglot();
    if (!engine)
        return;
    const QString current = engine->currentLang();
    for (int i = 0; i < engine->languageCount(); ++i) {
        cbLanguages->addItem(engine->language(i));
        if (engine->language(i) == current)
            cbLanguages->setCurrentIndex(i);
    }
    // No exact match (a current "english" listed as "English"): nothing
    // selected, the box stays empty.
    if (cbLanguages->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        cbLanguages->setCurrentIndex(-1);
}

void TfrmLanguage::cbLanguagesChange()
{
    m_manager->setCurrentLang(cbLanguages->currentText());
    fillLanguageList();
    m_main->programKey().writeText(QStringLiteral("lng"), cbLanguages->currentText());
    m_main->MesiceChange();
}

void TfrmLanguage::FormShow()
{
    cbLanguages->setFocus();
}

#include "TfrmLanguage.moc"
