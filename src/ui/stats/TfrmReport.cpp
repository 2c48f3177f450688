#include "stats/TfrmReport.h"

#include "polyglot/TbsPolyglotTranslator.h"
#include "stats/MonthChartView.h"
#include "stats/ReportColumns.h"
#include "theme/TsuiThemeManager.h"
#include "toolkit/Controls.h"
#include "toolkit/RunReported.h"

#include <QPrinter>

TfrmReport* createReportForm(QWidget* owner)
{
    return new TfrmReport(owner);
}

QString TfrmReport::documentTitle()
{
    return QStringLiteral("Rydex 2004 report");
}

TfrmReport::TfrmReport(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Report"));
    // The page header.
    addText("qrlHeading", QStringLiteral("Rydex 2005"));
    addText("qrlReportFor",
            QStringLiteral("Report programu Rydex 2004 registrovaného na uživatele:"));
    addText("qrlCyclist", QString(), false);
    addText("qrlPeriod", QStringLiteral("Za kalendářní období:"));
    addText("qrlYear", QString(), false);
    addText("qrlMonth", QString(), false);
    addText("qrlHoursCaption", QStringLiteral("Hodin celkem:"));
    addText("qrlHours", QString(), false);
    addText("qrlHoursUnit", QStringLiteral("h"));
    addText("qrlKmCaption", QStringLiteral("Kilometrů celkem:"));
    addText("qrlKm", QString(), false);
    addText("qrlKmUnit", QStringLiteral("km"));
    addText("qrlPulseCaption", QStringLiteral("Průměrný tep:"));
    addText("qrlPulse", QString(), false);
    addText("qrlPulseUnit", QStringLiteral("tepů/min"));
    addText("qrlAltCaption", QStringLiteral("Převýšení celkem:"));
    addText("qrlAlt", QString(), false);
    addText("qrlAltUnit", QStringLiteral("m"));
    // The title band and the column titles.
    addText("qrlChart", QStringLiteral("Graf:"));
    addText("qrlTable", QStringLiteral("Tabulka hodnot:"));
    for (const ReportColumn& c : reportColumns())
        addText(c.name, QString::fromUtf8(c.title));
    // The page footer: the page, the pages and the day of printing.
    addText("qrlFooter", QStringLiteral("Rydex 2005 – strana %s z %s, vytištěno %s"));

    // The printed chart: drawn at this size and scaled onto the page.
    Graf = new MonthChartView(this);
    Graf->setObjectName(QStringLiteral("Graf"));
    Graf->resize(753, 200);
    Graf->setReportLooks(true);

    // The report applies its theme manager never: its one message dialog
    // follows the theme by itself.
    new TsuiThemeManager(this, {QStringLiteral("msgError")});
    runReported([this] { TbsPolyglotTranslator::attach(this); });
}

Label* TfrmReport::addText(const char* name, const QString& caption, bool translatable)
{
    // The texts are held by labels that are never shown, so that a language
    // file reaches them by name like any window's.
    auto* label = new Label(QString::fromLatin1(name), caption, this);
    label->hide();
    if (!translatable)
        label->setProperty("translatable", false);
    m_texts.insert(QByteArray(name), label);
    return label;
}

Label* TfrmReport::text(const char* name) const
{
    return m_texts.value(QByteArray(name));
}

void TfrmReport::setFigures(const Figures& f)
{
    text("qrlCyclist")->setText(f.cyclist);
    text("qrlMonth")->setText(f.month);
    text("qrlYear")->setText(f.year);
    text("qrlHours")->setText(f.hours);
    text("qrlKm")->setText(f.km);
    text("qrlPulse")->setText(f.pulse);
    text("qrlAlt")->setText(f.alt);
}

QString TfrmReport::QRExprTimePrint(const QVariant& time) const
{
    const ReportColumn& column = reportColumns().at(6);
    return reportCellText(column, time, QLocale());
}

void TfrmReport::preparePrinter(QPrinter& printer)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    printer.setFullPage(true);
    printer.setDocName(documentTitle());
}
