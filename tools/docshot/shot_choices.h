#pragma once
// What distrato-docshot does on top of the desktop host: the options it
// takes out of the command line before the host reads the rest. Plain data
// and a parser; no call touches the screen.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

#include "ui/ui_types.h"

struct ShotChoices {
  bool total = false;             // check "Total" before the clicks
  QString account;                // bank account typed into "Dados Baixa" before the clicks
  std::optional<TModalResult> answer;  // how every question is answered (mrYes/mrNo); unset: shown
  int pick = 0;                   // the search picks this row (1-based); 0: its list is shown
  bool search = false;            // after the clicks: press the substitute column's search button
  QString substitute;             // after the clicks: the registration typed into the substitute column
  QStringList thenClicks;         // after the search and the typing: these controls clicked in order
  QList<QPair<QString, QString>> dialogTexts;  // typed into the edits of the modal dialogs that open
  QString dialogClick;            // then clicked in the first modal dialog that opens
};

// Takes this program's own options out of `arguments` (arguments[0] is the
// program); the rest are the host's. `error` says what was wrong, if anything.
ShotChoices TakeShotChoices(QStringList& arguments, QString& error);
