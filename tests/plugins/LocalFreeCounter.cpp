#include "LocalFreeCounter.h"

#include <cstring>
#include <iterator>
#include <stdexcept>
#include <string>

namespace plugin_testing {

namespace {

using LocalFreeFunction = HLOCAL(WINAPI*)(HLOCAL);

struct Freed {
  HLOCAL handle;
  int count;
};

// Fixed storage: the counter runs inside LocalFree and must not allocate.
Freed freed[4096];
size_t freedUsed = 0;
size_t total = 0;
LocalFreeFunction realLocalFree = nullptr;

HLOCAL WINAPI CountingLocalFree(HLOCAL handle) {
  if (handle) {
    ++total;
    size_t i = 0;
    while (i < freedUsed && freed[i].handle != handle) ++i;
    if (i == freedUsed && freedUsed < std::size(freed)) freed[freedUsed++] = {handle, 0};
    if (i < freedUsed) ++freed[i].count;
  }
  return realLocalFree(handle);
}

// The import address slot through which this program calls `function` of `dll`.
void** ImportSlot(const char* dll, const char* function) {
  auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
       ++entry) {
    if (::lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
    const DWORD namesAt = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesAt);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
        return reinterpret_cast<void**>(&slots->u1.Function);
      }
    }
  }
  throw std::runtime_error(std::string("no import of ") + function);
}

void Patch(void* value) {
  void** slot = ImportSlot("kernel32.dll", "LocalFree");
  DWORD old = 0;
  ::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
  if (!realLocalFree) realLocalFree = reinterpret_cast<LocalFreeFunction>(*slot);
  *slot = value;
  ::VirtualProtect(slot, sizeof *slot, old, &old);
}

}  // namespace

LocalFreeCounter::LocalFreeCounter() {
  Clear();
  Patch(reinterpret_cast<void*>(&CountingLocalFree));
}

LocalFreeCounter::~LocalFreeCounter() { Patch(reinterpret_cast<void*>(realLocalFree)); }

int LocalFreeCounter::Count(HLOCAL handle) const {
  for (size_t i = 0; i < freedUsed; ++i) {
    if (freed[i].handle == handle) return freed[i].count;
  }
  return 0;
}

size_t LocalFreeCounter::Total() const { return total; }

void LocalFreeCounter::Clear() {
  freedUsed = 0;
  total = 0;
}

}  // namespace plugin_testing
