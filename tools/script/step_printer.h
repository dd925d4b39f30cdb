#pragma once
// Prints the run as it goes: one line per step ("12: type medCdFilial
// \"0001\" ... ok"), with what the screen showed during the step indented
// below it. Steps of an on-modal block are indented under the step that
// opened the modal form.

#include <ostream>
#include <string>

#include "script.h"

namespace dxscript {

class StepPrinter {
 public:
  explicit StepPrinter(std::ostream& out) : out_(out) {}

  void Begin(const Command& cmd);
  // Something the screen did while the step ran.
  void Note(const std::string& text);
  // The outcome of the innermost step begun: "ok", "FAILED: ...".
  void End(const Command& cmd, const std::string& outcome);
  void Line(const std::string& text);

 private:
  void CloseOpenLine();
  std::string Indent() const { return std::string(static_cast<std::size_t>(depth_) * 4, ' '); }

  std::ostream& out_;
  int depth_ = 0;
  bool line_open_ = false;
};

}  // namespace dxscript
