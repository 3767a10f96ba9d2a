#pragma once
// A table of many plain records that starts all zero, taken straight from fresh pages of the
// system: no zero-filling pass over memory the kernel already zeroed, and large pages asked for,
// so that the hundreds of megabytes of a long analysis cost few page faults.

#include <cstddef>
#include <span>
#include <type_traits>

namespace platform {

// Zeroed pages of at least 'bytes'; throws std::bad_alloc when the system has none.
void* mapZeroedPages(std::size_t bytes);
void unmapPages(void* pages, std::size_t bytes);
// Has the system supply the pages under [at, at + bytes) now, their content untouched: safe
// beside a thread writing there, so a helper thread can take the faults off a writer's path.
void populatePages(void* at, std::size_t bytes);

template <class T>
class ZeroedTable {
  // All-zero bytes are a valid T, and its lifetime starts with the storage.
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  ZeroedTable() = default;
  explicit ZeroedTable(std::size_t count)
      : data_(count ? static_cast<T*>(mapZeroedPages(count * sizeof(T))) : nullptr), size_(count) {}
  ~ZeroedTable() { reset(); }
  ZeroedTable(ZeroedTable&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
  }
  ZeroedTable& operator=(ZeroedTable&& other) noexcept {
    if (this != &other) {
      reset();
      data_ = other.data_;
      size_ = other.size_;
      other.data_ = nullptr;
      other.size_ = 0;
    }
    return *this;
  }
  ZeroedTable(const ZeroedTable&) = delete;
  ZeroedTable& operator=(const ZeroedTable&) = delete;

  void reset() {
    if (data_) unmapPages(data_, size_ * sizeof(T));
    data_ = nullptr;
    size_ = 0;
  }
  // Records [from, to) made present now (see populatePages).
  void populate(std::size_t from, std::size_t to) {
    if (from < to && to <= size_) populatePages(data_ + from, (to - from) * sizeof(T));
  }
  T* data() { return data_; }
  const T* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  std::span<T> span() { return {data_, size_}; }
  std::span<const T> span() const { return {data_, size_}; }

 private:
  T* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace platform
