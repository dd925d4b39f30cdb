#pragma once
// The working set of a budget's rescission review: the parties' values being
// negotiated (CONTRATDISTRATO) and their payment plans (FORMAPGTO), kept
// between the dialog's calls until the rescission is recorded, consolidated
// or undone. Every function runs on the caller's transaction.

#include "methods/key_codes.h"

class Database;

// Drops the budget's whole review: the operation it prepared is over.
void ClearWorkingSet(Database& db, const BudgetKey& b);
