#pragma once
// Where the installed application and the delivered data are: the environment overrides
// ($TAVIRO_APP_DIR, $TAVIRO_DATA_DIR), else next to the program (<bin>/../share/taviro/...), as
// both the build folder and an installation lay them out.
#include <filesystem>

namespace taviro::service {

std::filesystem::path applicationDirectory();
std::filesystem::path deliveredDataDirectory();

}  // namespace taviro::service
