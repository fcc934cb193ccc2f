// Sleeps for the number of seconds given (default one hour), then ends on its own.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 3600;
  if (seconds <= 0) seconds = 3600;
  Sleep(static_cast<DWORD>(seconds) * 1000);
  return 0;
}
