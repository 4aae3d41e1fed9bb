#pragma once
#include <string>

// Helpers shared by the test programs.
namespace testsupport {

// Folder of checked-in test data (tests/data).
std::string DataDir();
// The build folder (where data/ and the generated assets are).
std::string BuildDir();
// A fresh empty temporary folder, removed when the process ends.
std::string MakeTempDir();

}  // namespace testsupport
