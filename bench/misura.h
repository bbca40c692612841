#pragma once
// Timing and memory readings shared by the benchmarks.
#include <sys/resource.h>

#include <chrono>

namespace tarkpo::bench {

// Seconds elapsed since `da`.
inline double Secondi(std::chrono::steady_clock::time_point da) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - da).count();
}

// The process's peak resident memory, in KB.
inline long PiccoKb() {
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  return uso.ru_maxrss;
}

}  // namespace tarkpo::bench
