// Temporary bodies while the record dialog is being built; removed by it.
#include "app/TfrmBase.h"

void TfrmBase::NewRecord() {}
void TfrmBase::EditRecord() {}
void TfrmBase::mnuNoteItemClick() {}
void TfrmBase::DeleteRecord() {}
void TfrmBase::SpoctiAVS() {}
void TfrmBase::afterRecordsChanged() {}
