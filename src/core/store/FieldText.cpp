#include "store/FieldText.h"

#include "base/Fixed4.h"
#include "base/MessageCatalogue.h"
#include "base/PictureFormat.h"
#include "store/FieldError.h"

#include <QDateTime>
#include <QStringList>

QString fieldDisplayText(RideField field, const QVariant& v, const QLocale& locale)
{
    if (v.isNull())
        return QString();
    switch (fieldDef(field).kind) {
    case FieldKind::Duration:
        return v.toTime().toString(QStringLiteral("h:mm:ss"));
    case FieldKind::Decimal:
        return formatPicture(QStringLiteral("0.00"), v.value<Fixed4>(), locale);
    case FieldKind::DateTime: {
        const QDateTime dt = v.toDateTime();
        if (dt.time() == QTime(0, 0))
            return locale.toString(dt.date(), QLocale::ShortFormat);
        return locale.toString(dt, QLocale::ShortFormat);
    }
    case FieldKind::AutoIncrement:
    case FieldKind::UInt16:
    case FieldKind::Int16:
        return QString::number(v.toInt());
    case FieldKind::Text:
    case FieldKind::Memo:
        return v.toString();
    }
    return v.toString();
}

QString fieldEditText(RideField field, const QVariant& v, const QLocale& locale)
{
    if (v.isNull())
        return QString();
    switch (fieldDef(field).kind) {
    case FieldKind::Duration:
        // The mask puts a missing optional hour digit as a leading blank.
        return v.toTime().toString(QStringLiteral("h:mm:ss")).rightJustified(8, QLatin1Char(' '));
    case FieldKind::Decimal:
        return formatPicture(QStringLiteral("#.##"), v.value<Fixed4>(), locale);
    default:
        return fieldDisplayText(field, v, locale);
    }
}

std::optional<QVariant> fieldValueOfText(RideField field, const QString& text,
                                         const QLocale& locale)
{
    const auto conversionError = [&]() { return FieldError(Msg::FieldConversion, text, field); };
    QString t = text;
    switch (fieldDef(field).kind) {
    case FieldKind::Duration: {
        t.remove(QLatin1Char('_'));
        t.remove(QLatin1Char(' '));
        if (t.remove(QLatin1Char(':')).isEmpty())
            return std::nullopt;
        const QStringList parts = text.trimmed().remove(QLatin1Char('_')).split(QLatin1Char(':'));
        bool ok[3] = {false, false, false};
        if (parts.size() != 3)
            throw conversionError();
        const int h = parts[0].trimmed().toInt(&ok[0]);
        const int m = parts[1].trimmed().toInt(&ok[1]);
        const int s = parts[2].trimmed().toInt(&ok[2]);
        const QTime time(h, m, s);
        if (!ok[0] || !ok[1] || !ok[2] || !time.isValid())
            throw conversionError();
        return QVariant(time);
    }
    case FieldKind::Decimal: {
        if (t.trimmed().isEmpty())
            return std::nullopt;
        const std::optional<Fixed4> f = Fixed4::parse(t, locale);
        if (!f)
            throw conversionError();
        return QVariant::fromValue(*f);
    }
    case FieldKind::AutoIncrement:
    case FieldKind::UInt16:
    case FieldKind::Int16: {
        if (t.trimmed().isEmpty())
            return std::nullopt;
        bool ok = false;
        const int v = locale.toInt(t.trimmed(), &ok);
        if (!ok)
            throw conversionError();
        return QVariant(v);
    }
    case FieldKind::DateTime: {
        if (t.trimmed().isEmpty())
            return std::nullopt;
        QDate d = locale.toDate(t.trimmed(), QLocale::ShortFormat);
        if (!d.isValid())
            d = QDate::fromString(t.trimmed(), Qt::ISODate);
        if (!d.isValid())
            throw conversionError();
        return QVariant(d.startOfDay());
    }
    case FieldKind::Text:
    case FieldKind::Memo:
        break;
    }
    return QVariant(t);
}
