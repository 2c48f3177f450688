#include "records/TfrmExport.h"

#include "backup/RideCsv.h"
#include "base/MessageCatalogue.h"
#include "polyglot/TbsPolyglotTranslator.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "base/RydexError.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/DocumentsFolder.h"
#include "toolkit/RunReported.h"
#include "toolkit/ScreenPlacement.h"
#include "toolkit/ThemedFrame.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {
constexpr int bandHeight = 30;

QList<RideField> everyField()
{
    QList<RideField> fields;
    for (int i = 0; i < rideFieldCount; ++i)
        fields << RideField(i);
    return fields;
}
} // namespace

TfrmExport::TfrmExport(ADOTable* table, const QString& cyclist, int year, int month,
                       const QString& monthCaption, QWidget* parent)
    : ThemedDialog(parent, QStringLiteral("frmExport"), QStringLiteral("Export jízd")),
      m_table(table), m_cyclist(cyclist), m_year(year), m_month(month),
      m_monthCaption(monthCaption)
{
    takeOwnerFont();

    auto* frame = new ThemedFrame(QStringLiteral("frmExportSui"), this, bandHeight);
    m_frame = frame;
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(14, bandHeight + 10, 14, 12);
    lblScope = new Label(QStringLiteral("lblScope"), QStringLiteral("Exportovat jízdy:"), frame);
    layout->addWidget(lblScope);
    // Their captions hold the month, the year and the counts.
    rbMonth = new RadioButton(QStringLiteral("rbMonth"), QString(), frame);
    rbYear = new RadioButton(QStringLiteral("rbYear"), QString(), frame);
    rbAll = new RadioButton(QStringLiteral("rbAll"), QString(), frame);
    for (QRadioButton* choice : {rbMonth, rbYear, rbAll}) {
        choice->setProperty("translatable", false);
        layout->addWidget(choice);
    }
    layout->addSpacing(10);
    auto* buttons = new QHBoxLayout;
    btnExport = new Button(QStringLiteral("btnExport"), QStringLiteral("&Exportovat..."), frame);
    btnExport->setDefault(true);
    btnClose = new Button(QStringLiteral("btnClose"), QStringLiteral("&Zavřít"), frame);
    buttons->addStretch(1);
    buttons->addWidget(btnExport);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);

    chooseFile = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, Msg::text(Msg::ExportFileCaption), suggested,
                                            Msg::format(Msg::ExportFileFilter, {QStringLiteral("*.csv")}));
    };
    connect(btnExport, &QPushButton::clicked, this, &TfrmExport::btnExportClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    if (TbsPolyglotTranslator* translator = applyThemeAndLanguage(
            {QStringLiteral("frmExportSui"), QStringLiteral("lblScope"), QStringLiteral("rbMonth"),
             QStringLiteral("rbYear"), QStringLiteral("rbAll"), QStringLiteral("btnExport"),
             QStringLiteral("btnClose")}))
        translator->AfterTranslate = [this](QObject*) { showChoices(); };
    showChoices();
    setScope(Month);
    centreOnScreen(this);
}

void TfrmExport::countRides()
{
    const Scope scopes[] = {Month, Year, All};
    for (const Scope s : scopes)
        m_counts[s] = int(m_table->peekRows(filter(s), {RideField::date}).size());
    showChoices();
    // The narrowest choice that holds a ride.
    setScope(m_counts[Month] > 0 ? Month : m_counts[Year] > 0 ? Year : All);
    for (QRadioButton* choice : {rbMonth, rbYear, rbAll})
        choice->setEnabled(m_counts[choice == rbMonth ? Month : choice == rbYear ? Year : All] > 0 ||
                           choice == rbAll);
    btnExport->setEnabled(m_counts[All] > 0);
}

void TfrmExport::showChoices()
{
    rbMonth->setText(Msg::format(Msg::ExportMonthChoice,
                                 {m_monthCaption + QLatin1Char(' ') + QString::number(m_year),
                                  QLocale().toString(m_counts[Month])}));
    rbYear->setText(Msg::format(Msg::ExportYearChoice,
                                {QString::number(m_year), QLocale().toString(m_counts[Year])}));
    rbAll->setText(Msg::format(Msg::ExportAllChoice, {QLocale().toString(m_counts[All])}));
    // The frame is no layout of the window's own: the window takes the size
    // its texts need, in the language shown.
    const QSize needed = m_frame->layout()->totalSizeHint();
    setFixedSize(std::max(needed.width(), 400), needed.height());
}

TfrmExport::Scope TfrmExport::scope() const
{
    return rbMonth->isChecked() ? Month : rbYear->isChecked() ? Year : All;
}

void TfrmExport::setScope(Scope scope)
{
    (scope == Month ? rbMonth : scope == Year ? rbYear : rbAll)->setChecked(true);
}

RideFilter TfrmExport::filter(Scope scope) const
{
    switch (scope) {
    case Month:
        return RideFilter::month(m_cyclist, m_year, m_month);
    case Year:
        return RideFilter::year(m_cyclist, m_year);
    case All:
        break;
    }
    return RideFilter::cyclist(m_cyclist);
}

QString TfrmExport::suggestedPath() const
{
    // A name that is a name on every file system: the cyclist's name may
    // hold characters a file name cannot.
    QString name = m_cyclist;
    for (const QChar c : {u'/', u'\\', u':', u'*', u'?', u'"', u'<', u'>', u'|'})
        name.replace(c, u'_');
    switch (scope()) {
    case Month:
        name += QStringLiteral(" %1-%2").arg(m_year).arg(m_month, 2, 10, QLatin1Char('0'));
        break;
    case Year:
        name += QStringLiteral(" %1").arg(m_year);
        break;
    case All:
        break;
    }
    return QDir(documentsFolder()).filePath(name + QStringLiteral(".csv"));
}

void TfrmExport::btnExportClick()
{
    QString path = chooseFile ? chooseFile(suggestedPath()) : QString();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    try {
        const QVector<RideRow> rides = m_table->peekRows(filter(scope()), everyField());
        const QByteArray bytes = RideCsv::write(rides);
        // Written whole under another name and put in place at once: a file
        // the user opens is never half an export.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.commit())
            throw RydexError(Msg::format(Msg::ExportFailed,
                                         {QDir::toNativeSeparators(path), file.errorString()}),
                             RydexError::Kind::General);
        m_written = path;
        m_writtenRides = int(rides.size());
    } catch (const std::exception& e) {
        DialogPresenter::current().showError(errorText(e));
        return;
    }
    accept();
}
