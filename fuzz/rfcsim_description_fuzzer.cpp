// The simulator's description file RfcSim.txt: never fails, every system it
// keeps can be found by its destination in any letter case.
#include "description.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const rfcsim::Description description = rfcsim::ParseDescription(std::string(fuzz::Text(data, size)));
  for (const std::string& destination : description.Destinations()) {
    const rfcsim::SystemDescription* system = description.Find(destination);
    fuzz::Check(system && rfcsim::UpperCase(system->destination) == destination, "a system is found by its destination");
    fuzz::Check(system == description.Find(destination), "a system is built once");
    fuzz::Check(system->cpuRows <= 100000, "at most 100000 CPU rows");
  }
  for (const rfcsim::DescriptionProblem& problem : description.problems) {
    fuzz::Check(problem.line >= 1 && !problem.text.empty(), "a problem has a line and a text");
  }
  return 0;
}
