// mappreview: draws a converted map from above as a PNG.
#include <iostream>
#include <string>
#include <vector>

#include "PreviewTool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return mappreview::RunPreviewTool(args, std::cout, std::cerr);
}
