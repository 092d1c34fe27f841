#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
#ifndef _WIN32
  // libarchive converts names through the C library's locale; a UTF-8 one
  // stands in for what Windows' wide names give the plug-in.
  std::setlocale(LC_ALL, "C.UTF-8");
#endif
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
