#include "lib/procurar.h"

#include "data/client_dataset.h"
#include "ui/ui_service.h"

void Procura(TClientDataSet& dataSet) {
  if (!dataSet.Active()) return;
  Ui().FindDialog(dataSet);
}
