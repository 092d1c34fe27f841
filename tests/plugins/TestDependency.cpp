// A library that a test plug-in needs, built twice under one file name: the
// proper one that goes beside the plug-in, and an impostor.
extern "C" __declspec(dllexport) const char* TestDependencyName() { return TEST_DEPENDENCY_NAME; }
