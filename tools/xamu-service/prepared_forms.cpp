#include "prepared_forms.h"

namespace xamu::servicio {

std::optional<PreparedForms::Stamp> PreparedForms::StampOf(const std::filesystem::path& file) {
  std::error_code error;
  Stamp stamp;
  stamp.size = std::filesystem::file_size(file, error);
  if (error) return std::nullopt;
  stamp.time = std::filesystem::last_write_time(file, error);
  if (error) return std::nullopt;
  return stamp;
}

PreparedForms::Form PreparedForms::Get(const std::filesystem::path& file,
                                       const std::function<Archivo1Sincronizacion()>& prepare) {
  // Stamped before preparing: a change made meanwhile is seen by the next request.
  const std::optional<Stamp> stamp = StampOf(file);
  if (stamp) {
    const std::lock_guard lock(mutex_);
    const auto it = kept_.find(file);
    if (it != kept_.end() && it->second.stamp == *stamp) return it->second.form;
  }
  // Prepared outside the lock, so that one slow table does not hold up other requests.
  auto form = std::make_shared<const Archivo1Sincronizacion>(prepare());
  if (stamp) {
    const std::lock_guard lock(mutex_);
    kept_[file] = {*stamp, form};
  }
  return form;
}

}  // namespace xamu::servicio
