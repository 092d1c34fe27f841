// Global operator new and delete, every form, on a heap of our own. Linked
// into each executable as an object of its own (not through a library
// archive, from which the linker would take it only when asked for a symbol
// that libstdc++ already defines).
#include "app/ProgramHeap.h"

#include <cstdint>
#include <new>

namespace {

// Constant-initialised: valid before any constructor in any translation unit,
// so the first allocation, whenever it comes, finds it.
void* volatile heap = nullptr;

// The C runtime may start a thread of its own before ours allocates; of two
// heaps created at once, the second is given back.
HANDLE CreateHeap() {
  HANDLE created = ::HeapCreate(0, 0, 0);
  if (!created) return nullptr;
  void* earlier = ::InterlockedCompareExchangePointer(&heap, created, nullptr);
  if (!earlier) return created;
  ::HeapDestroy(created);
  return earlier;
}

// The heap keeps MEMORY_ALLOCATION_ALIGNMENT (8 bytes here), as the C
// runtime's malloc did for our memory before; a zero-byte request still gets
// a block of its own, as new must give distinct addresses.
void* Allocate(std::size_t size) noexcept {
  const HANDLE own = ProgramHeap();
  return own ? ::HeapAlloc(own, 0, size ? size : 1) : nullptr;
}

void Free(void* block) noexcept {
  if (block) ::HeapFree(ProgramHeap(), 0, block);
}

bool IsOverAligned(std::align_val_t alignment) {
  return static_cast<std::size_t>(alignment) > MEMORY_ALLOCATION_ALIGNMENT;
}

// A larger block, and the heap block's own address kept in the word just
// before the aligned address that the caller gets.
void* AllocateAligned(std::size_t size, std::align_val_t alignment) noexcept {
  if (!IsOverAligned(alignment)) return Allocate(size);
  const auto align = static_cast<std::size_t>(alignment);
  const std::size_t extra = align - 1 + sizeof(void*);
  if (size > SIZE_MAX - extra) return nullptr;
  void* block = Allocate(size + extra);
  if (!block) return nullptr;
  const uintptr_t at = (reinterpret_cast<uintptr_t>(block) + extra) & ~uintptr_t{align - 1};
  reinterpret_cast<void**>(at)[-1] = block;
  return reinterpret_cast<void*>(at);
}

void FreeAligned(void* block, std::align_val_t alignment) noexcept {
  if (!block || !IsOverAligned(alignment)) return Free(block);
  Free(static_cast<void**>(block)[-1]);
}

// What operator new promises: ask the new-handler until memory comes, throw
// bad_alloc when there is none.
template <typename Allocator>
void* AllocateOrThrow(Allocator allocate) {
  for (;;) {
    if (void* block = allocate()) return block;
    const std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

template <typename Allocator>
void* AllocateOrNull(Allocator allocate) noexcept {
  try {
    return AllocateOrThrow(allocate);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

HANDLE ProgramHeap() {
  void* existing = heap;
  return existing ? existing : CreateHeap();
}

void* operator new(std::size_t size) {
  return AllocateOrThrow([=] { return Allocate(size); });
}
void* operator new[](std::size_t size) {
  return AllocateOrThrow([=] { return Allocate(size); });
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull([=] { return Allocate(size); });
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull([=] { return Allocate(size); });
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow([=] { return AllocateAligned(size, alignment); });
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow([=] { return AllocateAligned(size, alignment); });
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateOrNull([=] { return AllocateAligned(size, alignment); });
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateOrNull([=] { return AllocateAligned(size, alignment); });
}

void operator delete(void* block) noexcept { Free(block); }
void operator delete[](void* block) noexcept { Free(block); }
void operator delete(void* block, std::size_t) noexcept { Free(block); }
void operator delete[](void* block, std::size_t) noexcept { Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete(void* block, std::align_val_t alignment) noexcept { FreeAligned(block, alignment); }
void operator delete[](void* block, std::align_val_t alignment) noexcept { FreeAligned(block, alignment); }
void operator delete(void* block, std::size_t, std::align_val_t alignment) noexcept {
  FreeAligned(block, alignment);
}
void operator delete[](void* block, std::size_t, std::align_val_t alignment) noexcept {
  FreeAligned(block, alignment);
}
void operator delete(void* block, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  FreeAligned(block, alignment);
}
void operator delete[](void* block, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  FreeAligned(block, alignment);
}
