#pragma once
// What the tests find on this machine, as CMake found it: filled into the environment by the test mains
// (unless already set), so a test program behaves the same whether CTest or a developer starts it.
//   K7100_OPENPYXL_PYTHON  the python3 that has openpyxl ("" when none)
//   K7100SIM_PATH          the k7100sim tool of this build
namespace TestEnvironment {
void setDefaults();
}
