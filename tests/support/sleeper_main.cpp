// A stand-in process for tests that look for running programs by name: it sleeps for the
// number of milliseconds given as its argument, then exits.
#include <chrono>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
  const long ms = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  return 0;
}
