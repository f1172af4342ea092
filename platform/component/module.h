// The lock count of one component library: its live objects and its server locks.
// The library may be unloaded only while both are zero.
#pragma once

#include <atomic>
#include <cstddef>

namespace jv::component {

// Each library that links this unit has its own counts: the library's symbols are
// its own, so two libraries never share them.
class ModuleLock {
 public:
  static void ObjectCreated() { objects_.fetch_add(1, std::memory_order_relaxed); }
  static void ObjectDestroyed() { objects_.fetch_sub(1, std::memory_order_relaxed); }
  static void Lock() { locks_.fetch_add(1, std::memory_order_relaxed); }
  // An unlock without a lock is ignored rather than driving the count below zero.
  static void Unlock();
  static std::size_t objects() { return objects_.load(std::memory_order_relaxed); }
  static std::size_t locks() { return locks_.load(std::memory_order_relaxed); }
  static bool CanUnload() { return objects() == 0 && locks() == 0; }

 private:
  static inline std::atomic<std::size_t> objects_{0};
  static inline std::atomic<std::size_t> locks_{0};
};

inline void ModuleLock::Unlock() {
  std::size_t n = locks_.load(std::memory_order_relaxed);
  while (n > 0 && !locks_.compare_exchange_weak(n, n - 1, std::memory_order_relaxed)) {
  }
}

// A member of every object the library hands out: counts it for as long as it lives.
class CountedByModule {
 public:
  CountedByModule() { ModuleLock::ObjectCreated(); }
  CountedByModule(const CountedByModule&) = delete;
  CountedByModule& operator=(const CountedByModule&) = delete;
  ~CountedByModule() { ModuleLock::ObjectDestroyed(); }
};

}  // namespace jv::component
