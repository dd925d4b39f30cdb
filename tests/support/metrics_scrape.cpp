#include "metrics_scrape.h"

#include <httplib.h>

#include <sstream>

namespace dx_test {

std::optional<double> ScrapeMetric(int port, const std::string& name) {
  httplib::Client http("127.0.0.1", port);
  const auto response = http.Get("/metrics");
  if (!response || response->status != 200) return std::nullopt;
  std::istringstream lines(response->body);
  for (std::string line; std::getline(lines, line);)
    if (line.size() > name.size() && line.compare(0, name.size(), name) == 0 && line[name.size()] == ' ')
      return std::stod(line.substr(name.size() + 1));
  return std::nullopt;
}

}  // namespace dx_test
