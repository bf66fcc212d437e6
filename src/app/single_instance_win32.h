#pragma once

#include "base/unique_handle_win32.h"

namespace tavro::app {

// Holds the program's named mutex for as long as it lives. The Local\ namespace is the
// logged-on user's session, so each user runs one copy.
class SingleInstance {
public:
    SingleInstance();
    bool isFirst() const { return first_; }

private:
    base::UniqueKernelHandle mutex_;
    bool first_ = false;
};

}  // namespace tavro::app
