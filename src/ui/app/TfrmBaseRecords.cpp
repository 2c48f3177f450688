// The record commands of the main window: new, edit, note and delete, and the
// average speed that Save computes.
#include "app/TfrmBase.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "records/AverageSpeed.h"
#include "records/TfrmNewRecord.h"
#include "stats/MonthChartView.h"
#include "store/ADOTable.h"
#include "store/ControlsDetached.h"
#include "store/RideFields.h"
#include "store/TData.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MessageDialog.h"

#include <QDate>

namespace {
void showRecordDialog(TfrmNewRecord* dialog)
{
    DialogPresenter::current().execModal(*dialog);
    // However the window went away, no row may stay pending behind it: the
    // next change of filter would store it.
    if (dialog->isEditing())
        dialog->FormClose();
}
} // namespace

void TfrmBase::NewRecord()
{
    ensureWindows();
    if (!m_data || !m_recordDialog)
        return;
    ADOTable* table = m_data->table();
    TfrmNewRecord* dialog = m_recordDialog;
    MesiceChange();
    table->last();
    table->insert();
    const int day = m_workingDate.day();
    const int month = m_workingDate.month();
    const QDate date(m_year, month, day);
    // Years outside 1 to 9999 have no place on the date-time scale either.
    if (!date.isValid() || m_year < 1 || m_year > 9999) {
        table->cancel();
        throw RydexError(
            Msg::format(Msg::InvalidRecordDate,
                        {QString::number(day), QString::number(month), QString::number(m_year)}),
            RydexError::Kind::Conversion);
    }
    dialog->prepareNewRecord(date);
    showRecordDialog(dialog);
}

void TfrmBase::EditRecord()
{
    ensureWindows();
    if (!m_data || !m_recordDialog)
        return;
    ADOTable* table = m_data->table();
    TfrmNewRecord* dialog = m_recordDialog;
    // On an empty month this starts a blank new row instead.
    table->edit();
    const QVariant date = table->value(RideField::date);
    dialog->prepareEditRecord(date.isNull() ? dateTimeOrigin() : date.toDateTime().date());
    showRecordDialog(dialog);
}

void TfrmBase::mnuNewItemClick()
{
    guarded([this] { NewRecord(); });
}

void TfrmBase::mnuNovyZaznamClick()
{
    guarded([this] { NewRecord(); });
}

void TfrmBase::toolBtnCreateClick()
{
    guarded([this] { NewRecord(); });
}

void TfrmBase::mnuEditItemClick()
{
    guarded([this] { EditRecord(); });
}

void TfrmBase::mnuUpravaZaznamuClick()
{
    guarded([this] { EditRecord(); });
}

void TfrmBase::toolBtnEditClick()
{
    guarded([this] { EditRecord(); });
}

void TfrmBase::DBGridDblClick()
{
    guarded([this] { EditRecord(); });
}

// The note is edited in the full record dialog, in its memo.
void TfrmBase::mnuNoteItemClick()
{
    guarded([this] { EditRecord(); });
}

void TfrmBase::mnuDeleteItemClick()
{
    guarded([this] { DeleteRecord(); });
}

void TfrmBase::mnuSmazatZaznamClick()
{
    guarded([this] { DeleteRecord(); });
}

void TfrmBase::toolBtnDeleteClick()
{
    guarded([this] { DeleteRecord(); });
}

void TfrmBase::mnuUpravaODOClick()
{
    guarded([this] { EditODO(); });
}

void TfrmBase::DeleteRecord()
{
    if (!m_data)
        return;
    ADOTable* table = m_data->table();
    if (!table->isOpen() || table->recordCount() == 0) {
        msgDlgNotDelete->execute();
        return;
    }
    if (msgDlgDeleteRecord->execute())
        table->deleteRecord();
    refreshAfterChange(QDate());
}

void TfrmBase::SpoctiAVS()
{
    ADOTable* table = m_data->table();
    const Fixed4 speed =
        averageSpeed(table->asTime(RideField::time), table->asFixed(RideField::dst));
    checkAverageSpeedFits(speed);
    table->setValue(RideField::avs, QVariant::fromValue(speed));
}

void TfrmBase::afterRecordsChanged()
{
    // The record dialog has just saved a ride, and made its day the working
    // date.
    refreshAfterChange(m_workingDate);
}

void TfrmBase::refreshAfterChange(const QDate& savedOn)
{
    // The chart is read again by two steps of the sequence; laid out once.
    const MonthChartView::Batch batch(Graf);
    {
        // The grid and the note follow the table once, at the end.
        const ControlsDetached detached(m_data->table());
        UpdateTotal(savedOn);
        m_data->table()->refresh();
        RefreshChart();
        YearKM();
        MonthKM();
        YearHours();
    }
    emit monthViewChanged();
    emit ridesWritten();
}
