#include "reminders/notice_stack.h"

namespace tavro::reminders {

namespace {
bool overlaps(const NoticeRect& a, const NoticeRect& b, int gap) {
    return a.left < b.right + gap && b.left < a.right + gap && a.top < b.bottom + gap && b.top < a.bottom + gap;
}
}  // namespace

NoticeRect placeNotice(const NoticeRect& work, int width, int height, int gap, const std::vector<NoticeRect>& open) {
    const NoticeRect corner{work.right - gap - width, work.bottom - gap - height, work.right - gap, work.bottom - gap};
    for (int right = work.right - gap; right - width >= work.left; right -= width + gap) {
        NoticeRect r{right - width, work.bottom - gap - height, right, work.bottom - gap};
        // Up past each window in the way; every step passes one, so this ends.
        for (bool moved = true; moved && r.top >= work.top + gap;) {
            moved = false;
            for (const NoticeRect& o : open) {
                if (!overlaps(r, o, gap)) continue;
                r.bottom = o.top - gap;
                r.top = r.bottom - height;
                moved = true;
            }
        }
        if (r.top >= work.top + gap) return r;
    }
    return corner;
}

}  // namespace tavro::reminders
