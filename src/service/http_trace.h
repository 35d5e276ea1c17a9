#pragma once

#include <functional>
#include <string>

// Every HTTP exchange of the process, reported to one observer: the launcher's run log, or
// xamu-tool's --verbose lines.
namespace xamu {

struct HttpExchange {
  std::string method;  // POST or GET
  std::string url;
  std::string proxy;   // as given to the connection; empty when none was
  std::string action;  // the SOAP action; empty for a GET
  long status = 0;     // 0 when no answer came
  double seconds = 0;
  std::string error;  // why it failed, when it did
};

using HttpObserver = std::function<void(const HttpExchange&)>;

// Set once, before the first request; called after each exchange on the thread that made it.
void ObserveHttp(HttpObserver observer);
void ReportHttp(const HttpExchange& exchange);

}  // namespace xamu
