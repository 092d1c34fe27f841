#pragma once
// Calls into plug-in code so that a crash inside it ends only that call.
#include <windows.h>

#include <cstdint>
#include <type_traits>

// How one guarded call ended.
struct GuardedResult {
  int32_t value = 0;     // what the function returned, when it returned
  bool faulted = false;  // ended by a structured exception instead
  DWORD code = 0;        // that exception's code
};

// Calls a stdcall function that takes `count` 32-bit arguments. A hardware
// fault or any other structured exception that the function does not handle
// itself ends the call (after the function's own unwind handlers have run).
// Either way the stack pointer, the x87 control word and MXCSR are as they
// were before the call, so a plug-in cannot change our rounding or precision.
GuardedResult CallGuarded(FARPROC function, const uint32_t* args, int count) noexcept;

// One argument as the 32-bit word that the plug-in receives.
template <typename T>
uint32_t ArgumentWord(T value) {
  static_assert(sizeof(T) <= sizeof(uint32_t), "plug-in arguments are 32-bit words");
  if constexpr (std::is_pointer_v<T>) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value));
  } else {
    return static_cast<uint32_t>(value);
  }
}

// CallGuarded with the arguments written out, each passed as one 32-bit word.
template <typename... Args>
GuardedResult CallGuardedWith(FARPROC function, Args... args) {
  const uint32_t words[] = {ArgumentWord(args)...};
  return CallGuarded(function, words, sizeof...(Args));
}
