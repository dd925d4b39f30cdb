#pragma once
// Reading one figure off a running server's metrics port (`--metrics-listen`),
// for tests and benchmarks that count what the server did.

#include <optional>
#include <string>

namespace dx_test {

// The value of the sample `name` (no labels) on the metrics port at
// 127.0.0.1:`port`; empty when the port does not answer or has no such sample.
std::optional<double> ScrapeMetric(int port, const std::string& name);

}  // namespace dx_test
