#include "storage/statement.h"

#include <utility>

Statement::Statement(std::unique_ptr<storage::StatementBackend> backend) : backend_(std::move(backend)) {}

Statement::~Statement() = default;

Statement::Statement(Statement&& other) noexcept : backend_(std::move(other.backend_)) {}

Statement& Statement::bind(int index, std::string_view text) {
  backend_->bindText(index, text);
  return *this;
}

Statement& Statement::bindInPlace(int index, std::string_view text) {
  backend_->bindTextInPlace(index, text);
  return *this;
}

Statement& Statement::bind(int index, double value) {
  backend_->bindReal(index, value);
  return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
  backend_->bindInteger(index, value);
  return *this;
}

Statement& Statement::bindNull(int index) {
  backend_->bindNull(index);
  return *this;
}

Statement& Statement::bindOpt(int index, const std::optional<std::string>& text) {
  return text ? bind(index, *text) : bindNull(index);
}

bool Statement::step() { return backend_->step(); }

void Statement::run() { backend_->run(); }

void Statement::reset() { backend_->reset(); }

int Statement::columnCount() const { return backend_->columnCount(); }
std::string_view Statement::columnName(int col) const { return backend_->columnName(col); }
bool Statement::isNull(int col) const { return backend_->isNull(col); }
std::string Statement::text(int col) const { return std::string(backend_->textView(col)); }
std::string_view Statement::textView(int col) const { return backend_->textView(col); }
double Statement::real(int col) const { return backend_->real(col); }
std::int64_t Statement::integer(int col) const { return backend_->integer(col); }
