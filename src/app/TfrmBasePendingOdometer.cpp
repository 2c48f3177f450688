// Temporary bodies while the odometer chain is being built; removed by it.
#include "app/TfrmBase.h"

void TfrmBase::UpdateTotal() {}
void TfrmBase::EditODO() {}
