// Where a new notice window goes: at the bottom right of the work area, above the notices already
// there, never over one of them; a column full, the next one to its left.
#pragma once

#include <vector>

namespace tavro::reminders {

struct NoticeRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const NoticeRect&) const = default;
};

// The place for a window of width × height in the work area beside the open ones, `gap` pixels
// apart and from the area's edges. When no column has room, the bottom right corner itself.
NoticeRect placeNotice(const NoticeRect& workArea, int width, int height, int gap, const std::vector<NoticeRect>& open);

}  // namespace tavro::reminders
