// wuffel-scenario: runs a script (standard input, or the file named as the
// only argument) against the handheld on virtual time and prints its trace.
#include <fstream>
#include <iostream>

#include "sim/runner.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: wuffel-scenario [SCRIPT]\n";
    return 2;
  }
  if (argc == 2) {
    std::ifstream file(argv[1]);
    if (!file) {
      std::cerr << "wuffel-scenario: cannot read " << argv[1] << "\n";
      return 2;
    }
    return wuffel::sim::runScript(file, std::cout, std::cerr);
  }
  return wuffel::sim::runScript(std::cin, std::cout, std::cerr);
}
