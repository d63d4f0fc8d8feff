#include <iostream>
#include <string>
#include <vector>

#include "HeapPages.h"
#include "Program.h"

int main(int argc, char* argv[]) {
  zaro3::PreferLargeHeapPages();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return zaro3::RunZaro3(args, std::cout, std::cerr);
}
