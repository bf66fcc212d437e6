#include "dialogs/settings_window_layout.h"

#include <tuple>

namespace tavro::dialogs::settings_window {

namespace {
// Twips, 15 to the pixel at 96 DPI.
constexpr int kMargin = 165, kGroupGap = 120, kCaptionBand = 285, kRowHeight = 405, kGroupPadding = 105;
constexpr int kInset = 180, kLabelWidth = 1650, kChoiceWidth = 2700, kListHeight = 2400;
constexpr int kGroupWidth = kInset + kLabelWidth + kChoiceWidth + kInset;
constexpr int kButtonWidth = 1215, kButtonHeight = 375, kButtonGap = 105, kWideButtonWidth = 1800;
}  // namespace

SettingsLayout layoutSettings(std::span<const SettingsGroup> groups) {
    SettingsLayout layout;
    auto& out = layout.controls;
    int top = kMargin;
    for (const SettingsGroup& group : groups) {
        const int height = kCaptionBand + kRowHeight * static_cast<int>(group.rows.size()) + kGroupPadding;
        out.push_back({-1, ControlKind::Group, group.caption, {kMargin, top, kGroupWidth, height}, {}});
        const int left = kMargin + kInset;
        int row = top + kCaptionBand;
        for (const SettingsRow& r : group.rows) {
            switch (r.kind) {
                case RowKind::Choice:
                    out.push_back({-1, ControlKind::Label, r.label, {left, row + 75, kLabelWidth - 60, 255}, {}});
                    out.push_back({r.id, ControlKind::Choice, {}, {left + kLabelWidth, row + 15, kChoiceWidth, kListHeight},
                                   r.choices});
                    break;
                case RowKind::Check:
                    out.push_back({r.id, ControlKind::Check, r.label, {left, row + 45, kGroupWidth - 2 * kInset, 300}, {}});
                    break;
                case RowKind::Button:
                    out.push_back({r.id, ControlKind::Button, r.label, {left, row + 15, kWideButtonWidth, 360}, {}});
                    break;
            }
            row += kRowHeight;
        }
        top += height + kGroupGap;
    }
    // OK, キャンセル and 適用 along the bottom, flush with the groups' right edge.
    int left = kMargin + kGroupWidth - 3 * kButtonWidth - 2 * kButtonGap;
    for (auto [id, kind, text] : {std::tuple{kOkId, ControlKind::DefaultButton, kOkCaption},
                                  {kCancelId, ControlKind::Button, kSettingsCancelCaption},
                                  {kApplyId, ControlKind::Button, kSettingsApplyCaption}}) {
        out.push_back({id, kind, text, {left, top, kButtonWidth, kButtonHeight}, {}});
        left += kButtonWidth + kButtonGap;
    }
    layout.client = {0, 0, kMargin + kGroupWidth + kMargin, top + kButtonHeight + kMargin};
    return layout;
}

}  // namespace tavro::dialogs::settings_window
