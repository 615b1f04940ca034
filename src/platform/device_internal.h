#pragma once
// Pieces shared by the device's source files.
#include <string>

namespace platform {

// Compiles and links the device's shader pair; 0 with the reason in error on failure.
// The device's shader pair; with stages, each triangle samples the stage its vertices name
// (0 when the driver lacks what that takes).
unsigned buildDeviceProgram(bool stages, std::string& error);
void setDeviceFailureReason(const std::string& reason);

// Adds the calling thread's processor time from its making to its end to a sum, when there is
// one: the device's draw-time hook, nothing but a test of the pointer without one.
class ThreadTimeSpan {
 public:
  explicit ThreadTimeSpan(double* sum);
  ~ThreadTimeSpan();
  ThreadTimeSpan(const ThreadTimeSpan&) = delete;
  ThreadTimeSpan& operator=(const ThreadTimeSpan&) = delete;

 private:
  double* _sum;
  double _start = 0.0;
};

}  // namespace platform
