#include "platform/ZeroedTable.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include <new>

namespace platform {
namespace {
constexpr std::size_t kLargePage = std::size_t{2} << 20;
}

void* mapZeroedPages(std::size_t bytes) {
  void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  // Only a hint: without large pages the table works the same, with more faults.
  if (bytes >= kLargePage) ::madvise(p, bytes, MADV_HUGEPAGE);
  return p;
}

void unmapPages(void* pages, std::size_t bytes) { ::munmap(pages, bytes); }

void populatePages(void* at, std::size_t bytes) {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto from = reinterpret_cast<std::uintptr_t>(at) & ~(page - 1);
  const auto to = reinterpret_cast<std::uintptr_t>(at) + bytes;
  // A kernel without the request leaves the faults where they were.
  ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
}

}  // namespace platform
