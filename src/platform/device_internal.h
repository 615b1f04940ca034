#pragma once
// Pieces shared by the device's source files.
#include <string>

namespace platform {

// Compiles and links the device's shader pair; 0 with the reason in error on failure.
unsigned buildDeviceProgram(std::string& error);
void setDeviceFailureReason(const std::string& reason);

}  // namespace platform
