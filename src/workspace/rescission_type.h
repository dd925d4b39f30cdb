#pragma once
// The rescission type chosen in "Tipo de Distrato": one party ("Parcial",
// rbtParcial) or the whole budget ("Total", rbtTotal).

namespace workspace {

enum class RescissionType { Parcial, Total };

}  // namespace workspace
