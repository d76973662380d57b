// GoogleTest's port header for the -win32 MinGW-w64 runtime, which the Windows builds use so that
// the programs import nothing Windows XP lacks. That runtime has no std::condition_variable, and
// GoogleTest's Notification (used only when it starts threads of its own) is the one place that
// wants it: this one waits on a Win32 event instead.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal
{

class Notification
{
  public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};

} // namespace testing::internal
