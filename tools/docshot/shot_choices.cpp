#include "shot_choices.h"

namespace {

// The value after option `i`, removing both; empty with `error` set when missing.
QString TakeValue(QStringList& arguments, int i, const char* what, QString& error) {
  QString value;
  if (i + 1 >= arguments.size()) error = arguments[i] + QStringLiteral(" needs ") + QLatin1String(what);
  else value = arguments[i + 1];
  arguments.remove(i, std::min<qsizetype>(2, arguments.size() - i));
  return value;
}

}  // namespace

ShotChoices TakeShotChoices(QStringList& arguments, QString& error) {
  ShotChoices choices;
  for (int i = 1; i < arguments.size();) {
    const QString option = arguments[i];
    if (option == QStringLiteral("--total")) {
      choices.total = true;
      arguments.removeAt(i);
    } else if (option == QStringLiteral("--search")) {
      choices.search = true;
      arguments.removeAt(i);
    } else if (option == QStringLiteral("--account")) {
      choices.account = TakeValue(arguments, i, "a bank account code", error);
    } else if (option == QStringLiteral("--substitute")) {
      choices.substitute = TakeValue(arguments, i, "a registration number", error);
    } else if (option == QStringLiteral("--then-click")) {
      const QString names = TakeValue(arguments, i, "control names", error);
      choices.thenClicks = names.split(QLatin1Char(','), Qt::SkipEmptyParts);
    } else if (option == QStringLiteral("--dialog-type")) {
      const QString typed = TakeValue(arguments, i, "CONTROL=TEXT", error);
      const qsizetype equals = typed.indexOf(QLatin1Char('='));
      if (equals > 0) choices.dialogTexts.append({typed.left(equals), typed.mid(equals + 1)});
      else if (error.isEmpty()) error = QStringLiteral("--dialog-type takes CONTROL=TEXT, not ") + typed;
    } else if (option == QStringLiteral("--dialog-click")) {
      choices.dialogClick = TakeValue(arguments, i, "a control name", error);
    } else if (option == QStringLiteral("--answer")) {
      const QString answer = TakeValue(arguments, i, "yes or no", error);
      if (answer == QStringLiteral("yes")) choices.answer = mrYes;
      else if (answer == QStringLiteral("no")) choices.answer = mrNo;
      else if (error.isEmpty()) error = QStringLiteral("--answer takes yes or no, not ") + answer;
    } else if (option == QStringLiteral("--pick")) {
      const QString row = TakeValue(arguments, i, "a row number", error);
      bool ok = false;
      choices.pick = row.toInt(&ok);
      if ((!ok || choices.pick < 1) && error.isEmpty()) error = QStringLiteral("--pick takes a row number from 1, not ") + row;
    } else {
      ++i;
    }
  }
  return choices;
}
