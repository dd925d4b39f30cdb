#pragma once
// The commands every maintenance screen's tool bar carries, in tool-bar order.

#include "lib/command_bar.h"
#include "ui/ui_types.h"

namespace standard_commands {

inline constexpr int kKeyF5 = 116;

inline const CommandSpec kIncluir{"sbtIncluir", "Incluir", "incluir", "mnuIncluir", "&Incluir", scCtrl | 'I'};
inline const CommandSpec kAlterar{"sbtAlterar", "Alterar", "alterar", "mnuAlterar", "&Alterar", scCtrl | 'R'};
inline const CommandSpec kExcluir{"sbtExcluir", "Excluir", "excluir", "mnuExcluir", "&Excluir", scCtrl | 'E'};
inline const CommandSpec kProcurar{"sbtProcurar", "Procurar", "procurar", "mnuProcurar", "&Procurar", scCtrl | 'F'};
inline const CommandSpec kVerificar{"sbtVerificar", "Verificar", "verificar", "mnuVerificar", "&Verificar", kKeyF5};
inline const CommandSpec kCancelar{"sbtCancelar", "Cancelar", "cancelar", "mnuCancelar", "Ca&ncelar", scCtrl | 'Z'};
inline const CommandSpec kConfirmar{"sbtConfirmar", "Confirmar", "confirmar", "mnuConfirmar", "C&onfirmar", scCtrl | 'G'};
inline const CommandSpec kImprimir{"sbtImprimir", "Imprimir", "imprimir", "mnuImprimir", "Im&primir", scCtrl | 'P'};

}  // namespace standard_commands
