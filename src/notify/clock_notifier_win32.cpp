#include "notify/clock_notifier_win32.h"

#include "datetime/date_format.h"
#include "settings/registry_store.h"

namespace tavro::notify {

namespace {
constexpr wchar_t kReachedTitle[] = L"目標時刻になりました";
constexpr wchar_t kPassedTitle[] = L"目標時刻を過ぎました";
}  // namespace

ClockNotifier::ClockNotifier(Handlers handlers)
    : handlers_(std::move(handlers)), notice_(toldFromStored(settings::readSetting(settings::kToldTarget))) {}

std::unique_ptr<ClockNotifier> ClockNotifier::create(HINSTANCE instance, Handlers handlers) {
    std::unique_ptr<ClockNotifier> notifier(new ClockNotifier(std::move(handlers)));
    ClockNotifier* self = notifier.get();
    notifier->tray_ = TrayIcon::create(instance, {
        .menu = [self](POINT at) { if (self->handlers_.openMenu) self->handlers_.openMenu(at); },
        .select = [self] { if (self->handlers_.openAlmanac) self->handlers_.openAlmanac(); },
        .tipDue = [self] { self->updateTip(self->handlers_.now(), self->target_); },
    });
    if (!notifier->tray_) return nullptr;
    notifier->iconShown_ = settings::readSetting(settings::kShowTrayIcon) != 0;
    return notifier;
}

void ClockNotifier::start(DateValue target) {
    const DateValue now = handlers_.now();
    target_ = target;
    updateTip(now, target);
    tray_->setShown(iconShown_);
    if (const auto notice = notice_.due(target, now, true)) tell(*notice);
}

void ClockNotifier::second(DateValue target, DateValue now) {
    target_ = target;
    if (const auto notice = notice_.due(target, now)) tell(*notice);
    if (minuteOf(now) != tipMinute_) updateTip(now, target);
}

void ClockNotifier::targetSet(DateValue target, DateValue now) {
    notice_.targetSet(target, now);
    settings::writeSetting(settings::kToldTarget, notice_.storedTold());
    target_ = target;
    updateTip(now, target);
}

void ClockNotifier::setIconShown(bool shown, bool store) {
    iconShown_ = shown;
    if (store) settings::writeSetting(settings::kShowTrayIcon, shown ? 1 : 0);
    tray_->setShown(shown);
}

void ClockNotifier::tell(const Notice& notice) {
    // Stored first: a crash or a log-off while the notice shows must not tell it again.
    settings::writeSetting(settings::kToldTarget, notice_.storedTold());
    const std::string text = datetime::formatDateTime(notice.target);
    tray_->showNotice(notice.kind == NoticeKind::Reached ? kReachedTitle : kPassedTitle,
                      std::wstring(text.begin(), text.end()));
}

void ClockNotifier::updateTip(DateValue now, DateValue target) {
    tipMinute_ = minuteOf(now);
    tray_->setTip(tip_.text(now, target, handlers_.nextReminder ? handlers_.nextReminder(now) : std::wstring()));
}

}  // namespace tavro::notify
