#include "lib/date_edit_plus.h"

#include "data/formats.h"
#include "lib/consiste.h"

void TDateEditPlus::SetDate(DateTime date) { SetText(FormatDate(date)); }

bool TDateEditPlus::IsBlank() const { return EmptyString(EditText()); }

std::optional<DateTime> TDateEditPlus::GetDate() const {
  if (IsBlank()) return std::nullopt;
  return StrToDate(Text());
}

void TDateEditPlus::CheckValidDate() const { (void)GetDate(); }

void TDateEditPlus::DoExit() {
  // Checked before the exit handler runs, so it never sees a day that does
  // not exist; an incomplete date is refused the same way.
  if (Modified()) CheckValidDate();
  TCustomDateEdit::DoExit();
}
