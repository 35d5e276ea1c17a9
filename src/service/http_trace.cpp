#include "service/http_trace.h"

#include <cstdio>

namespace xamu {
namespace {

HttpObserver& Observer() {
  static HttpObserver observer;
  return observer;
}

}  // namespace

std::string DescribeExchange(const HttpExchange& e) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f s", e.seconds);
  const std::string proxy = !e.proxy.empty()      ? e.proxy
                            : e.environment_proxy ? "the environment's, if any"
                                                  : "none";
  return e.method + " " + e.url + (e.action.empty() ? "" : " " + e.action) + " proxy " + proxy +
         ": " + (e.error.empty() ? "HTTP " + std::to_string(e.status) : e.error) + " in " + seconds;
}

void ObserveHttp(HttpObserver observer) {
  Observer() = std::move(observer);
}

void ReportHttp(const HttpExchange& exchange) {
  if (const HttpObserver& observer = Observer()) observer(exchange);
}

}  // namespace xamu
