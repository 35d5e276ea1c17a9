#include "service/http_trace.h"

namespace xamu {
namespace {

HttpObserver& Observer() {
  static HttpObserver observer;
  return observer;
}

}  // namespace

void ObserveHttp(HttpObserver observer) {
  Observer() = std::move(observer);
}

void ReportHttp(const HttpExchange& exchange) {
  if (const HttpObserver& observer = Observer()) observer(exchange);
}

}  // namespace xamu
