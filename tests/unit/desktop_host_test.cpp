// The clock's host on each desktop layout the shell builds, on odd trees, and when the clock
// already hangs where it should.
#include "desktop/desktop_host.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace tavro::desktop;

namespace {

constexpr WindowId kClock = 99;
enum Id : WindowId { Progman = 1, Progman2, Icons, Wallpaper, Raised, Utility, View, Inner, Other };

ShellWindow top(WindowId id, ShellClass kind, bool visible = true, bool noRedirection = false, int right = 1920,
                int bottom = 1080) {
    return {id, 0, kind, kind == ShellClass::Progman, visible, noRedirection, 0, 0, right, bottom};
}
ShellWindow child(WindowId id, WindowId parent, ShellClass kind) {
    return {id, parent, kind, false, true, false, 0, 0, 1920, 1080};
}
ShellSnapshot snap(std::initializer_list<ShellWindow> windows) {
    ShellSnapshot s{windows, {}};
    s.clock = {kClock, 0, false, true, true, false, false};  // as created: a top-level tool window
    return s;
}
ShellWindow untitled(ShellWindow w) { return w.programManagerTitle = false, w; }

using C = ShellClass;
const ShellWindow kClassic = top(Progman, C::Progman);
const ShellWindow k24H2 = top(Progman, C::Progman, true, true);

}  // namespace

TEST(DesktopHost, EachLayoutGivesTheWindowHoldingTheIconView) {
    const struct { const char* layout; ShellSnapshot snapshot; Attachment want; } cases[] = {
        {"classic", snap({kClassic, child(View, Progman, C::DefView)}), {Progman, 0, View, false}},
        // The icons' WorkerW over the wallpaper's, Progman last. (Show Desktop up to 23H2 raises
        // the icons' WorkerW over the applications in the same shape.)
        {"split", snap({top(Icons, C::WorkerW), top(Wallpaper, C::WorkerW), kClassic, child(View, Icons, C::DefView)}),
         {Icons, 0, View, false}},
        // 24H2 raises Progman itself (with or without its WorkerW below the icons): the answer stays.
        {"Show Desktop on 24H2",
         snap({k24H2, top(Utility, C::WorkerW, true, false, 136, 39), child(View, Progman, C::DefView),
               child(Inner, Progman, C::WorkerW)}),
         {Progman, 0, View, true}},
        {"24H2, a window above the icon view: the clock goes under it",
         snap({k24H2, child(Other, Progman, C::Other), child(View, Progman, C::DefView), child(Inner, Progman, C::WorkerW)}),
         {Progman, Other, View, true}},
        {"several WorkerWs, one holding the icons",
         snap({top(Wallpaper, C::WorkerW), top(Icons, C::WorkerW), top(Raised, C::WorkerW), kClassic,
               child(Inner, Wallpaper, C::Other), child(View, Icons, C::DefView)}),
         {Icons, 0, View, false}},
        // The classic answer: on top of Progman's children.
        {"the icon view in an invisible WorkerW",
         snap({top(Icons, C::WorkerW, false), kClassic, child(View, Icons, C::DefView)}), {Progman, 0, 0, false}},
        {"two Progmans, the untitled one holding the icons",
         snap({kClassic, untitled(top(Progman2, C::Progman)), child(View, Progman2, C::DefView)}),
         {Progman2, 0, View, false}},
        {"two Progmans without icons: the one titled Program Manager",
         snap({untitled(top(Progman2, C::Progman)), kClassic}), {Progman, 0, 0, false}},
        {"Progman without the icon view", snap({kClassic, child(Other, Progman, C::Other)}), {Progman, 0, 0, false}},
        {"a zero-size Progman holding the icons", snap({top(Progman, C::Progman, true, false, 0, 0), child(View, Progman, C::DefView)}),
         {}},
        {"a zero-size WorkerW holding the icons",
         snap({top(Icons, C::WorkerW, true, false, 1920, 0), kClassic, child(View, Icons, C::DefView)}),
         {Progman, 0, 0, false}},
        {"no shell", snap({}), {}},
        {"an invisible Progman", snap({top(Progman, C::Progman, false), child(View, Progman, C::DefView)}), {}},
        // Odd trees: an icon view under a window of another class, or under the clock.
        {"an icon view under another class",
         snap({top(Other, C::Other), kClassic, child(View, Other, C::DefView)}), {Progman, 0, 0, false}},
        {"an icon view under the clock", snap({top(kClock, C::WorkerW), child(View, kClock, C::DefView)}), {}},
    };
    for (const auto& c : cases) {
        const Attachment got = decideHost(c.snapshot);
        EXPECT_EQ(got, c.want) << c.layout << ": host " << got.host << " after " << got.insertAfter << " above "
                               << got.above << " layered " << got.layered;
    }
    EXPECT_EQ(decideHost(snap({kClassic}), {.alpha = 200, .topMost = true}), (Attachment{0, 0, 0, true, 200, true}));  // in front: no host
}

TEST(DesktopHost, HoldsOnlyWhenParentStylesAndPlaceAreAsDecided) {
    const ClockWindow plainChild{kClock, Progman, true, false, true, false, false};
    const ClockWindow layeredChild{kClock, Progman, true, false, false, true, 255};
    auto with = [](ClockWindow c, auto change) {
        change(c);
        return c;
    };
    const ShellWindow clock = child(kClock, Progman, C::Other);
    const ShellWindow view = child(View, Progman, C::DefView), other = child(Other, Progman, C::Other);
    const struct { const char* what; std::initializer_list<ShellWindow> windows; ClockWindow clock;
                   Attachment attachment; bool holds; } cases[] = {
        {"classic, right above the icon view", {kClassic, clock, view}, plainChild, {Progman, 0, View, false}, true},
        {"the icon view came back on top of it", {kClassic, view, clock}, plainChild, {Progman, 0, View, false}, false},
        {"a window between it and the icon view", {kClassic, clock, other, view}, plainChild, {Progman, 0, View, false}, false},
        {"a window above it, the icon view right below", {kClassic, other, clock, view}, plainChild,
         {Progman, Other, View, false}, true},
        {"still a popup", {kClassic, clock, view}, with(plainChild, [](ClockWindow& c) { c.popup = true; }),
         {Progman, 0, View, false}, false},
        {"not a child", {kClassic, clock, view}, with(plainChild, [](ClockWindow& c) { c.child = false; }),
         {Progman, 0, View, false}, false},
        {"layered on a host that composes children", {kClassic, clock, view}, layeredChild, {Progman, 0, View, false}, false},
        {"24H2, layered and opaque", {k24H2, clock, view}, layeredChild, {Progman, 0, View, true}, true},
        {"24H2, the layered style lost", {k24H2, clock, view},
         with(layeredChild, [](ClockWindow& c) { c.layered = false; }), {Progman, 0, View, true}, false},
        {"24H2, not opaque", {k24H2, clock, view}, with(layeredChild, [](ClockWindow& c) { c.alpha = 128; }),
         {Progman, 0, View, true}, false},
        {"24H2, a tool window", {k24H2, clock, view}, with(layeredChild, [](ClockWindow& c) { c.toolWindow = true; }),
         {Progman, 0, View, true}, false},
        {"another parent", {kClassic, clock, view}, with(plainChild, [](ClockWindow& c) { c.parent = Icons; }),
         {Progman, 0, View, false}, false},
        {"its parent not seen among the children", {kClassic, view}, plainChild, {Progman, 0, View, false}, false},
        {"on top of a Progman without icons", {kClassic, clock, other}, plainChild, {Progman, 0, 0, false}, true},
        {"under a child of a Progman without icons", {kClassic, other, clock}, plainChild, {Progman, 0, 0, false}, false},
        {"top-level popup with no shell", {}, {kClock, 0, false, true, true, false, false}, {}, true},
        {"left a child with no shell", {}, {kClock, 0, true, false, true, false, false}, {}, false},
        {"still under a shell that has gone", {}, plainChild, {}, false},
    };
    for (const auto& c : cases) {
        ShellSnapshot s{c.windows, c.clock};
        EXPECT_EQ(attachmentHolds(s, c.attachment), c.holds) << c.what;
    }
}
