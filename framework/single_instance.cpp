#include "framework/single_instance.h"

#include "framework/wnd_class.h"

SingleInstance::SingleInstance() {
    // A framework frame has the framework's plain class, whose name carries the application
    // name: only a frame of this program can match, and the mutex takes the same name.
    const WString frameClass = AfxWndClassName(0);
    ::SetLastError(ERROR_SUCCESS);
    mutex_ = ::CreateMutexW(nullptr, FALSE, frameClass.c_str());
    if (mutex_ == nullptr || ::GetLastError() != ERROR_ALREADY_EXISTS)
        return;
    for (int look = 1; look <= kLooks; ++look) {
        other_ = ::FindWindowW(frameClass.c_str(), nullptr);
        if (other_ != nullptr || look == kLooks)
            return;
        ::Sleep(kLookInterval);
    }
}

SingleInstance::~SingleInstance() {
    if (mutex_ != nullptr)
        ::CloseHandle(mutex_);
}

void SingleInstance::ActivateOther() const {
    ::SetForegroundWindow(other_);
}
