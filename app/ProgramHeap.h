#pragma once
// The heap of the program's own C++ memory. Plug-ins share the C runtime's
// heap with anything that calls malloc; a plug-in that writes past the end of
// one of its blocks there damages that heap, and without a heap of our own
// every std::string and std::vector of ours would live in it too.
#include <windows.h>

// The heap that every global operator new of the program allocates from,
// created on first use (which comes before any constructor of ours runs).
HANDLE ProgramHeap();
