#pragma once
// The remote methods of the contractor values dialog, each called through
// the given connection and checked before its payload is used.

#include <string>

#include "data/variant.h"

class TNetConnection;

namespace dialogs {

// `contratantes` is passed by reference: the server's version is written back.
Variant InsContratDistrato(TNetConnection& net, Variant& contratantes, const std::string& branch,
                           const std::string& budget);
Variant GetContratDistrato(TNetConnection& net, const std::string& branch, const std::string& budget);
Variant GetFormaPgto(TNetConnection& net, const std::string& branch, const std::string& budget,
                     const std::string& client);
Variant DeletaFormaPgto(TNetConnection& net, const std::string& branch, const std::string& budget,
                        const std::string& client);
Variant SetConfirmar(TNetConnection& net, const Variant& parties, const Variant& plan, const std::string& branch,
                     const std::string& budget);

}  // namespace dialogs
