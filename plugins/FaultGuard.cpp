#include "plugins/FaultGuard.h"

#include <malloc.h>
#include <setjmp.h>

// GCC has no __try. The guard links an exception registration record of its
// own onto the thread's chain (fs:[0]) around the call; its handler lets the
// plug-in's own frames unwind, takes the record off the chain and jumps back
// to the guard. Between setjmp and the call no C++ object with a destructor
// may be alive: the jump would skip it.

namespace {

struct GuardFrame {
  EXCEPTION_REGISTRATION_RECORD record;  // first: the chain points at the frame
  jmp_buf resume;
  volatile DWORD code;
};

struct FpuState {
  uint16_t control;
  uint32_t mxcsr;
};

const bool kHasSse = ::IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE) != FALSE;

EXCEPTION_REGISTRATION_RECORD* ExceptionChain() {
  EXCEPTION_REGISTRATION_RECORD* head;
  asm volatile("movl %%fs:0, %0" : "=r"(head) : : "memory");
  return head;
}

void SetExceptionChain(EXCEPTION_REGISTRATION_RECORD* head) {
  asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

FpuState SaveFpu() {
  FpuState state{};
  asm volatile("fnstcw %0" : "=m"(state.control));
  if (kHasSse) asm volatile("stmxcsr %0" : "=m"(state.mxcsr));
  return state;
}

// No x87 value is live across a call, so the register stack can be emptied;
// a plug-in that faulted mid-calculation may have left it full.
void RestoreFpu(const FpuState& state) {
  asm volatile("fninit\n\tfldcw %0" : : "m"(state.control));
  if (kHasSse) asm volatile("ldmxcsr %0" : : "m"(state.mxcsr));
}

// Pushes the arguments, calls, and puts the stack pointer back from a saved
// copy: a function that removes the wrong number of bytes (declared cdecl, or
// with another argument count) cannot unbalance our stack.
__attribute__((noinline)) int32_t InvokeStdcall(FARPROC function, const uint32_t* args, int count) {
  int32_t result;
  asm volatile(
      "movl %%esp, %%edi\n\t"
      "jmp 2f\n"
      "1:\n\t"
      "pushl -4(%%esi,%%ecx,4)\n\t"
      "decl %%ecx\n"
      "2:\n\t"
      "testl %%ecx, %%ecx\n\t"
      "jnz 1b\n\t"
      "cld\n\t"
      "call *%%edx\n\t"
      "movl %%edi, %%esp\n\t"
      "cld"
      : "=a"(result), "+c"(count), "+d"(function), "+S"(args)
      :
      : "ebx", "edi", "memory", "cc");
  return result;
}

// RtlUnwind runs the termination handlers of the frames above `target` and
// takes them off the chain. On x86 it need not preserve ebx, esi, edi or
// ebp, so they are kept on the stack around it.
void UnwindTo(EXCEPTION_REGISTRATION_RECORD* target, EXCEPTION_RECORD* record) {
  asm volatile(
      "pushl %%ebp\n\t"
      "pushl %%ebx\n\t"
      "pushl %%esi\n\t"
      "pushl %%edi\n\t"
      "pushl $0\n\t"
      "pushl %1\n\t"
      "pushl $0\n\t"
      "pushl %0\n\t"
      "call _RtlUnwind@16\n\t"
      "popl %%edi\n\t"
      "popl %%esi\n\t"
      "popl %%ebx\n\t"
      "popl %%ebp"
      :
      : "r"(target), "r"(record)
      : "eax", "ecx", "edx", "memory", "cc");
}

EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* record, void* establisher, CONTEXT*,
                                           void*) {
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
    return ExceptionContinueSearch;
  }
  auto* frame = static_cast<GuardFrame*>(establisher);
  frame->code = record->ExceptionCode;
  UnwindTo(&frame->record, record);
  SetExceptionChain(frame->record.Next);
  longjmp(frame->resume, 1);
}

}  // namespace

GuardedResult CallGuarded(FARPROC function, const uint32_t* args, int count) noexcept {
  const FpuState fpu = SaveFpu();
  GuardFrame frame;
  frame.code = 0;
  GuardedResult outcome;
  if (setjmp(frame.resume) == 0) {
    frame.record.Next = ExceptionChain();
    frame.record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(reinterpret_cast<void*>(GuardHandler));
    SetExceptionChain(&frame.record);
    outcome.value = InvokeStdcall(function, args, count);
    SetExceptionChain(frame.record.Next);
  } else {
    outcome.value = 0;
    outcome.faulted = true;
    outcome.code = frame.code;
    // The overflow used up the stack's guard page; without a new one the
    // next overflow would end the process.
    if (outcome.code == EXCEPTION_STACK_OVERFLOW) _resetstkoflw();
  }
  RestoreFpu(fpu);
  return outcome;
}
