#include "conexion.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>

#include "platform/directory.h"

namespace xamu::servicio {
namespace {

bool Extremo(int fd, int (*consulta)(int, sockaddr*, socklen_t*), int puerto) {
  sockaddr_in address{};
  socklen_t size = sizeof address;
  return consulta(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0 &&
         address.sin_family == AF_INET && ntohs(address.sin_port) == puerto;
}

}  // namespace

void CerrarConexion(const httplib::Request& peticion) {
  const platform::DirectoryHandle dir = platform::OpenDirectory("/proc/self/fd");
  if (!dir) return;
  while (const dirent* entry = readdir(dir.get())) {
    char* end = nullptr;
    const long fd = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0' || fd == dirfd(dir.get())) continue;
    if (Extremo(static_cast<int>(fd), getsockname, peticion.local_port) &&
        Extremo(static_cast<int>(fd), getpeername, peticion.remote_port)) {
      shutdown(static_cast<int>(fd), SHUT_RDWR);
      break;
    }
  }
}

}  // namespace xamu::servicio
