#pragma once

#include <functional>
#include <string>

// Every HTTP exchange of the process, reported to one observer: the launcher's run log, or
// xamu-tool's --verbose lines.
namespace xamu {

struct HttpExchange {
  std::string method{};  // POST or GET
  std::string url{};
  std::string proxy{};  // as given to the connection; empty when none was
  // With no proxy given, whether the connection may take one from the environment
  // (http_proxy and the like), as the service clients' connections do.
  bool environment_proxy = false;
  std::string action{};  // the SOAP action; empty for a GET
  long status = 0;       // 0 when no answer came
  double seconds = 0;
  std::string error{};  // why it failed, when it did
};

using HttpObserver = std::function<void(const HttpExchange&)>;

// "METHOD URL [ACTION] proxy P: HTTP STATUS in S s", or the error in place of the status.
std::string DescribeExchange(const HttpExchange& exchange);

// Set once, before the first request; called after each exchange on the thread that made it.
void ObserveHttp(HttpObserver observer);
void ReportHttp(const HttpExchange& exchange);

}  // namespace xamu
