#pragma once
// The operators who may approve an undo (supervisors and managers) and their
// stored passwords. Every function runs on the caller's transaction and
// keeps no state, so any thread may call them with its own Database.

#include <optional>
#include <string>

#include "data/packet.h"

class Database;

namespace operator_store {

// The approver `code`, or every approver for "T", by code; says only whether a password is stored (OperatorShape).
DataPacket Approvers(Database& db, const std::string& code);

// The stored password of the approver `code`; nothing for anyone else.
std::optional<std::string> ApproverPassword(Database& db, const std::string& code);

// Stores `rehashed` as the operator's password unless it no longer is `stored`.
void ReplacePassword(Database& db, const std::string& code, const std::string& stored, const std::string& rehashed);

}  // namespace operator_store
