#include "theme/TsuiFileTheme.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "theme/ThemeFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWidget>

namespace {
// Qt's own parser, asked on a widget of its own: it reports a sheet it
// cannot read through a warning, which is caught here.
QStringList parserComplaints;

void collect(QtMsgType, const QMessageLogContext&, const QString& message)
{
    parserComplaints.append(message);
}

bool qtParses(const QString& sheet)
{
    parserComplaints.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    {
        QWidget probe;
        probe.setStyleSheet(sheet);
        probe.ensurePolished();
    }
    qInstallMessageHandler(previous);
    for (const QString& m : std::as_const(parserComplaints)) {
        if (m.contains(QLatin1String("parse"), Qt::CaseInsensitive))
            return false;
    }
    return true;
}
} // namespace

TsuiFileTheme::TsuiFileTheme(const QString& applicationDir, QObject* owner)
    : QObject(owner), m_applicationDir(applicationDir)
{
    setObjectName(QStringLiteral("suiFileTheme"));
}

TsuiFileTheme* TsuiFileTheme::of(QObject* window)
{
    for (QObject* o = window; o; o = o->parent()) {
        if (auto* theme = o->findChild<TsuiFileTheme*>(QString(), Qt::FindDirectChildrenOnly))
            return theme;
    }
    return nullptr;
}

void TsuiFileTheme::setThemeFile(const QString& path)
{
    if (path == m_file)
        return;
    const std::optional<QString> found = ThemeFile::resolve(path, m_applicationDir);
    if (!found)
        return;
    QFile file(*found);
    ThemeFile::Sheet sheet;
    if (!file.open(QIODevice::ReadOnly))
        sheet.problem = file.errorString();
    else
        sheet = ThemeFile::read(file.read(ThemeFile::maxFileSize + 1));
    if (sheet.problem.isEmpty() && !qtParses(sheet.text))
        sheet.problem = Msg::text(Msg::ThemeNotStyleSheet);
    if (!sheet.problem.isEmpty())
        throw RydexError(
            Msg::format(Msg::ThemeUnusable, {QDir::toNativeSeparators(*found), sheet.problem}));
    m_file = *found;
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // Qt repolishes every control once for each of its parents when one
        // sheet replaces another, but once when the style itself changes:
        // back to the plain style first, then the new sheet.
        if (!app->styleSheet().isEmpty())
            app->setStyleSheet(QString());
        app->setStyleSheet(sheet.text);
    }
    emit themeChanged();
}
