// wuffel-scenario: runs a script (standard input, or the file named as the
// only argument) against the handheld on virtual time and prints its trace.
#include <iostream>

#include "sim/quoted_word.h"
#include "sim/runner.h"
#include "sim/script_file.h"

int main(int argc, char** argv) {
  using namespace wuffel::sim;
  if (argc > 2) {
    std::cerr << "usage: wuffel-scenario [SCRIPT]\n";
    return 2;
  }
  ScriptFile file = argc == 2 ? ScriptFile(argv[1]) : ScriptFile::standardInput();
  const std::string name = argc == 2 ? quotedWord(file.name(), std::string::npos) : file.name();
  if (const auto& why = file.unreadable()) {
    std::cerr << "wuffel-scenario: cannot read " << name << ": " << *why << "\n";
    return 2;
  }
  std::istream script(&file);
  return runScript(script, std::cout, std::cerr, name);
}
