// One instance per program file. A running instance holds a named mutex for its whole run, named
// after its frame window class (which carries the application name), as Pocket PC programs mark
// themselves. A start that finds the name taken looks for the running instance's frame up to
// three times, a second apart (the other may still be in its start-up, before its frame exists);
// when it finds it, it brings it to the foreground and ends without a frame, timer or icon of its
// own. A start that finds the name free does not wait.
//
// When three looks find no frame the other instance is taken to be ending (its frame is gone
// and its mutex about to go with it) and this start goes on: the user asked for the program,
// and a second instance is better than none. A name held by another kind of object cannot
// tell anything, so that start goes on as well.
#pragma once

#include "platform/text.h"

class SingleInstance {
  public:
    // Takes the program's mutex and, when another instance holds it, looks for its frame.
    SingleInstance();
    // Lets go of the mutex: the next start no longer sees this instance.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The running instance's frame, or null.
    HWND Other() const { return other_; }
    // Makes the other instance's frame the foreground window.
    void ActivateOther() const;

    static constexpr int kLooks = 3;
    static constexpr DWORD kLookInterval = 1000; // ms between two looks

  private:
    HANDLE mutex_ = nullptr;
    HWND other_ = nullptr;
};
