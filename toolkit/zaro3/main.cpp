#include <iostream>
#include <string>
#include <vector>

#include "Program.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return zaro3::RunZaro3(args, std::cout, std::cerr);
}
