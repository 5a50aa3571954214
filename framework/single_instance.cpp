#include "framework/single_instance.h"

#include "framework/wnd_class.h"

SingleInstance::SingleInstance() {
    // A framework frame has the framework's plain class, whose name carries the application
    // name: only a frame of this program can match.
    const WString frameClass = AfxWndClassName(0);
    other_ = ::FindWindowW(frameClass.c_str(), nullptr);
}

void SingleInstance::ActivateOther() const {
    ::SetForegroundWindow(other_);
}
