#include "step_printer.h"

namespace dxscript {

void StepPrinter::Begin(const Command& cmd) {
  CloseOpenLine();
  out_ << Indent() << cmd.line << ": " << cmd.source << std::flush;
  line_open_ = true;
  ++depth_;
}

void StepPrinter::Note(const std::string& text) {
  CloseOpenLine();
  out_ << Indent() << text << '\n' << std::flush;
}

void StepPrinter::End(const Command& cmd, const std::string& outcome) {
  if (depth_ > 0) --depth_;
  if (line_open_) {
    out_ << " ... " << outcome << '\n';
    line_open_ = false;
  } else {
    // Lines were printed under the step: repeat its number with the outcome.
    out_ << Indent() << cmd.line << ": ... " << outcome << '\n';
  }
  out_ << std::flush;
}

void StepPrinter::Line(const std::string& text) {
  CloseOpenLine();
  out_ << text << '\n' << std::flush;
}

void StepPrinter::CloseOpenLine() {
  if (!line_open_) return;
  out_ << '\n';
  line_open_ = false;
}

}  // namespace dxscript
