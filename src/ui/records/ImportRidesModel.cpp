#include "records/ImportRidesModel.h"

#include "base/MessageCatalogue.h"
#include "base/PictureFormat.h"
#include "import/RideFieldValues.h"
#include "store/FieldText.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cmath>

namespace {
const QVariant& field(const ImportCandidate& row, RideField f)
{
    return row.row[fieldIndex(f)];
}

// The riding time in whole seconds: as it would be stored, else as the file
// gives it (a ride too long for the field still shows how long it was).
std::optional<qint64> seconds(const ImportCandidate& row)
{
    const QVariant& time = field(row, RideField::time);
    if (!time.isNull())
        return QTime(0, 0).secsTo(time.toTime());
    if (row.ride.timerSeconds)
        return std::llround(*row.ride.timerSeconds);
    return std::nullopt;
}

std::optional<Fixed4> kilometres(const ImportCandidate& row)
{
    const QVariant& dst = field(row, RideField::dst);
    if (!dst.isNull())
        return dst.value<Fixed4>();
    if (row.ride.distanceMetres)
        return Fixed4::fromDouble(*row.ride.distanceMetres / 1000.0);
    return std::nullopt;
}

std::optional<int> wholeOr(const QVariant& stored, const std::optional<double>& given)
{
    if (!stored.isNull())
        return stored.toInt();
    if (given)
        return int(std::lround(*given));
    return std::nullopt;
}

std::optional<int> pulse(const ImportCandidate& row)
{
    const QVariant& stored = field(row, RideField::pulse);
    if (!stored.isNull())
        return stored.toInt();
    return row.ride.avgHeartRate;
}

std::optional<int> ascent(const ImportCandidate& row)
{
    return wholeOr(field(row, RideField::alt), row.ride.elevationGain);
}

QString kindOf(const ImportCandidate& row)
{
    const QVariant& stored = field(row, RideField::druh);
    return stored.isNull() ? RideFieldValues::kindText(row.ride.sport) : stored.toString();
}

// "h:mm:ss" as the month view shows a duration, the hours not stopping at 23.
QString durationText(qint64 total)
{
    return QStringLiteral("%1:%2:%3")
        .arg(total / 3600)
        .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}

template <class T> QVariant orNull(const std::optional<T>& value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

constexpr int columnTitles[ImportRidesModel::ColumnCount] = {
    0,
    Msg::ImportColumnFile,
    Msg::ImportColumnDate,
    Msg::ImportColumnStart,
    Msg::ImportColumnDuration,
    Msg::ImportColumnDistance,
    Msg::ImportColumnPulse,
    Msg::ImportColumnAscent,
    Msg::ImportColumnKind,
    Msg::ImportColumnStatus,
};
} // namespace

ImportRidesModel::ImportRidesModel(QObject* parent) : QAbstractTableModel(parent) {}

void ImportRidesModel::append(const QVector<ImportCandidate>& rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + rows.size()) - 1);
    m_rows += rows;
    endInsertRows();
    emit tickedChanged();
}

void ImportRidesModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
    emit tickedChanged();
}

void ImportRidesModel::setValueLists(const ValueLists& lists)
{
    m_lists = lists;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, Kind), index(rowCount() - 1, Kind), {Qt::DisplayRole});
}

void ImportRidesModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, Status), index(rowCount() - 1, Status), {Qt::DisplayRole});
}

bool ImportRidesModel::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    ImportCandidate& c = m_rows[row];
    if (c.status == ImportStatus::CannotImport)
        return false;
    if (c.ticked != ticked) {
        c.ticked = ticked;
        emit dataChanged(index(row, Tick), index(row, Tick), {Qt::CheckStateRole});
        emit tickedChanged();
    }
    return true;
}

QVector<int> ImportRidesModel::tickedRows() const
{
    QVector<int> out;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).ticked && m_rows.at(i).status != ImportStatus::CannotImport)
            out.append(i);
    }
    return out;
}

ImportRidesModel::Counts ImportRidesModel::counts() const
{
    Counts c;
    for (const ImportCandidate& row : m_rows) {
        switch (row.status) {
        case ImportStatus::New:
            ++c.fresh;
            break;
        case ImportStatus::AlreadyRecorded:
            ++c.recorded;
            break;
        case ImportStatus::CannotImport:
            ++c.cannot;
            break;
        }
    }
    c.rides = c.fresh + c.recorded + c.cannot;
    return c;
}

int ImportRidesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ImportRidesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ImportRidesModel::statusText(const ImportCandidate& row) const
{
    switch (row.status) {
    case ImportStatus::New:
        return Msg::text(Msg::ImportStatusNew);
    case ImportStatus::AlreadyRecorded:
        if (row.matchedCandidate >= 0 && row.matchedCandidate < m_rows.size())
            return Msg::format(Msg::ImportStatusInThisImport,
                               {QFileInfo(m_rows.at(row.matchedCandidate).path).fileName()});
        if (row.matchedDay.isValid())
            return Msg::format(Msg::ImportStatusRecorded,
                               {QLocale().toString(row.matchedDay, QLocale::ShortFormat)});
        return Msg::text(Msg::ImportStatusRecordedFile);
    case ImportStatus::CannotImport:
        break;
    }
    return problemText(row.problem);
}

QString ImportRidesModel::text(const ImportCandidate& row, int column) const
{
    const QLocale locale;
    switch (column) {
    case File:
        return QFileInfo(row.path).fileName();
    case Date:
        return row.day.isValid() ? locale.toString(row.day, QLocale::ShortFormat) : QString();
    case Start:
        return row.day.isValid() && row.startTime.isValid()
                   ? locale.toString(row.startTime, QLocale::ShortFormat)
                   : QString();
    case Duration: {
        const std::optional<qint64> s = seconds(row);
        return s ? durationText(*s) : QString();
    }
    case Distance: {
        const std::optional<Fixed4> km = kilometres(row);
        return km ? formatPicture(QStringLiteral("0.00"), *km, locale) : QString();
    }
    case Pulse: {
        const std::optional<int> p = pulse(row);
        return p ? QString::number(*p) : QString();
    }
    case Ascent: {
        const std::optional<int> a = ascent(row);
        return a ? QString::number(*a) : QString();
    }
    case Kind:
        return m_lists.displayText(RideField::druh, kindOf(row));
    case Status:
        return statusText(row);
    default:
        return QString();
    }
}

QVariant ImportRidesModel::sortValue(const ImportCandidate& row, int column) const
{
    switch (column) {
    case Tick:
        return row.status == ImportStatus::CannotImport ? -1 : int(row.ticked);
    case Date:
        // On the wall clock of the ride, which no time zone may shift.
        return row.day.isValid()
                   ? QVariant(QDateTime(
                         row.day, row.startTime.isValid() ? row.startTime : QTime(0, 0), Qt::UTC))
                   : QVariant();
    case Start:
        return row.startTime.isValid() ? QVariant(row.startTime) : QVariant();
    case Duration:
        return orNull(seconds(row));
    case Distance: {
        const std::optional<Fixed4> km = kilometres(row);
        return km ? QVariant(km->units()) : QVariant();
    }
    case Pulse:
        return orNull(pulse(row));
    case Ascent:
        return orNull(ascent(row));
    case Status:
        // New first, then already recorded, then what cannot be imported.
        return int(row.status) * 1000 + int(row.problem);
    default:
        return text(row, column);
    }
}

bool ImportRidesModel::isRow(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && index.row() < m_rows.size() &&
           index.column() < ColumnCount;
}

QVariant ImportRidesModel::data(const QModelIndex& index, int role) const
{
    if (!isRow(index))
        return {};
    const ImportCandidate& row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == Tick ? QVariant() : QVariant(text(row, index.column()));
    case Qt::CheckStateRole:
        if (index.column() == Tick)
            return row.ticked && row.status != ImportStatus::CannotImport ? Qt::Checked
                                                                          : Qt::Unchecked;
        return {};
    case Qt::ToolTipRole:
        if (index.column() == File)
            return QDir::toNativeSeparators(row.path);
        if (index.column() == Status && !row.detail.isEmpty())
            return row.detail;
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() >= Date && index.column() <= Ascent)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case SortRole:
        return sortValue(row, index.column());
    default:
        return {};
    }
}

bool ImportRidesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != Tick || !isRow(index))
        return false;
    return setTicked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
}

Qt::ItemFlags ImportRidesModel::flags(const QModelIndex& index) const
{
    if (!isRow(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == Tick && m_rows.at(index.row()).status != ImportStatus::CannotImport)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ImportRidesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return columnTitles[section] ? Msg::text(columnTitles[section]) : QString();
    return {};
}
