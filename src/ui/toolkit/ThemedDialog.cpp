#include "toolkit/ThemedDialog.h"

#include "polyglot/TbsPolyglotTranslator.h"
#include "theme/TsuiThemeManager.h"
#include "toolkit/RunReported.h"
#include "toolkit/ScreenPlacement.h"

ThemedDialog::ThemedDialog(QWidget* owner, const QString& name, const QString& caption,
                           Qt::WindowFlags flags, Placement placement)
    : QDialog(owner, flags), m_placement(placement)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
}

void ThemedDialog::takeOwnerFont()
{
    if (parentWidget())
        setFont(parentWidget()->font());
}

TbsPolyglotTranslator* ThemedDialog::applyThemeAndLanguage(const QStringList& themedComponents)
{
    TsuiThemeManager::attach(this, themedComponents);
    TbsPolyglotTranslator* translator = nullptr;
    runReported([this, &translator] { translator = TbsPolyglotTranslator::attach(this); });
    return translator;
}

void ThemedDialog::showEvent(QShowEvent* event)
{
    if (m_placement == Placement::CentredAtEachShowing)
        centreOnScreen(this);
    QDialog::showEvent(event);
    runReported([this] { FormShow(); });
}
