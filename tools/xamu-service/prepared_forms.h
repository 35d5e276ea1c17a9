#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "service/wire_types.h"

namespace xamu::servicio {

// The costly form of each content file (a table encoded and compressed, a program file
// compressed), made once and kept until the file's size or last-write time changes: a
// request then costs what it serves, and a changed file is still picked up by the next
// request. Any thread may call.
class PreparedForms {
 public:
  using Form = std::shared_ptr<const Archivo1Sincronizacion>;

  // What `prepare` makes of `file`, made again when the file has changed since. A file
  // whose size or date cannot be read is prepared every time, so that `prepare` reports it.
  Form Get(const std::filesystem::path& file,
           const std::function<Archivo1Sincronizacion()>& prepare);

 private:
  struct Stamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time;
    bool operator==(const Stamp&) const = default;
  };
  static std::optional<Stamp> StampOf(const std::filesystem::path& file);

  struct Kept {
    Stamp stamp;
    Form form;
  };

  std::mutex mutex_;
  std::map<std::filesystem::path, Kept> kept_;
};

}  // namespace xamu::servicio
