// Temporary bodies while the settings dialogs are being built; removed by them.
#include "app/TfrmBase.h"

void TfrmBase::mnuOptionsClick() {}
void TfrmBase::openNewCyclistDialog() {}
