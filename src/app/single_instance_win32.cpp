#include "app/single_instance_win32.h"

namespace tavro::app {

SingleInstance::SingleInstance() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\Quillmar-soft.tavroClock")) {
    first_ = mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace tavro::app
