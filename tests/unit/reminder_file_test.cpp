// reminders.ics: what is refused and why, what other programs write, the round trip, and the
// merge of a file changed on disk with the clock's own changes.
#include <gtest/gtest.h>

#include <string>

#include "reminders/ics_values.h"
#include "reminders/reminder_file.h"
#include "reminders/reminder_merge.h"
#include "reminders/repeat_choice.h"

namespace tavro::reminders {
namespace {

std::string calendar(const std::string& body) { return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + body + "END:VCALENDAR\r\n"; }
std::string event(const std::string& uid, const std::string& lines) {
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTART:20261210T100000\r\n" + lines + "END:VEVENT\r\n";
}
LocalMinute at(const char* text) {
    const auto v = parseIcsDateTime(text);
    return v->day * kMinutesPerDay + v->secondOfDay / 60;
}

TEST(ReminderFile, BrokenOrHostileFilesAreRefusedWithTheirReason) {
    std::string manyEvents;
    for (std::size_t i = 0; i <= kMaxEvents; ++i) manyEvents += "BEGIN:VEVENT\nEND:VEVENT\n";
    std::string deep;
    for (int i = 0; i < kMaxDepth; ++i) deep += "BEGIN:X\n";
    struct Case { std::string bytes; IcsError error; std::size_t line; } cases[] = {
        {"", IcsError::NotCalendar, 0},
        {"<html><body>404</body></html>\n", IcsError::NotCalendar, 1},
        {"BEGIN:VCARD\nEND:VCARD\n", IcsError::NotCalendar, 1},
        {calendar(event("a", "")).substr(0, 60), IcsError::CutOff, 5},
        {calendar("SUMMARY:\xff\xfe\r\n"), IcsError::NotUtf8, 3},
        {calendar("SUMMARY:\xc0\xaf\r\n"), IcsError::NotUtf8, 3},  // an overlong '/'
        {calendar("no colon here\r\n"), IcsError::Malformed, 3},
        {calendar("END:VEVENT\r\n"), IcsError::Malformed, 3},
        {calendar("") + "BEGIN:VCALENDAR\r\n", IcsError::Malformed, 4},
        {calendar("X-BIG:" + std::string(kMaxLineBytes, 'a') + "\r\n"), IcsError::TooLarge, 3},
        {calendar("X-BIG:a\r\n" + std::string(kMaxLineBytes / 8, ' ') + "\r\n" + std::string(kMaxLineBytes, ' ') + "\r\n"), IcsError::TooLarge, 5},
        {calendar(manyEvents), IcsError::TooLarge, 0},
        {calendar(manyEvents.substr(24)), IcsError::None, 0},
        {calendar(deep), IcsError::TooLarge, 3 + kMaxDepth - 1},
        {std::string(kMaxFileBytes + 1, ' '), IcsError::TooLarge, 0},
    };
    for (const Case& c : cases) {
        const ReminderFileRead read = readReminderFile(c.bytes);
        EXPECT_EQ(read.error, c.error) << c.bytes.substr(0, 40);
        EXPECT_EQ(read.line, c.line) << c.bytes.substr(0, 40);
        EXPECT_TRUE(read.file.reminders.empty());
    }
}

// Folded, escaped, BOM, LF, any order, zones and UTC, alarms other programs write.
TEST(ReminderFile, ReadsWhatOtherCalendarProgramsWrite) {
    const std::string bytes =
        "\xEF\xBB\xBF" "BEGIN:VCALENDAR\nVERSION:2.0\n"
        "BEGIN:VTIMEZONE\nTZID:Pacific/Guam\nBEGIN:STANDARD\nTZOFFSETTO:+1000\nDTSTART:19700101T000000\nEND:STANDARD\nEND:VTIMEZONE\n"
        "BEGIN:VEVENT\nsummary:会議\\, 東京\\;\n  本社\\n2階\nDTSTART;TZID=\"Asia/Tokyo\":20261210T100000\nuid:a\n"
        "BEGIN:VALARM\nTRIGGER;RELATED=START:-P1D\nACTION:AUDIO\nATTACH:file:///C:/Sounds/%E9%9F%B3%20a.wav\nEND:VALARM\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:b\nDTSTART:20261210T010000Z\nBEGIN:VALARM\nACTION:EMAIL\nTRIGGER:-PT5M\nEND:VALARM\n"
        "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-PT1D\nEND:VALARM\nBEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-pt1h30m\nEND:VALARM\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:c\nDTSTART;TZID=Pacific/Guam:20261210T100000\nRRULE:FREQ=HOURLY\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:d\nDTSTART;TZID=America/New_York:20261210T100000\nSTATUS:CANCELLED\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:e\nSUMMARY:no start\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:f\nDTSTART:20261210T250000\nEND:VEVENT\nBEGIN:VEVENT\nUID:g\nDTSTART:20261210\nRRULE:INTERVAL=2\nEND:VEVENT\n"
        "END:VCALENDAR";  // no line break at the very end
    TimeContext context;
    context.localOffsetMinutes = 540;
    const ReminderFileRead read = readReminderFile(bytes, context);
    ASSERT_EQ(read.error, IcsError::None);
    ASSERT_EQ(read.file.reminders.size(), 4u);
    EXPECT_EQ(read.file.unusableEvents, 3u);
    EXPECT_EQ(read.file.reminders[3].repeat, Repeat::Unsupported);  // no FREQ
    EXPECT_TRUE(read.file.reminders[3].wholeDay);
    const Reminder& a = read.file.reminders[0];
    EXPECT_EQ(a.title, L"会議, 東京; 本社\n2階");
    EXPECT_EQ(a.start, at("20261210T100000"));
    EXPECT_EQ(a.alarmOffset, -1440);
    EXPECT_EQ(a.sound, (Sound{SoundKind::File, L"C:\\Sounds\\音 a.wav"}));
    const Reminder& b = read.file.reminders[1];
    EXPECT_EQ(b.start, at("20261210T100000"));  // 01:00 UTC is 10:00 in Japan
    EXPECT_EQ(b.alarmOffset, -90);              // the EMAIL alarm is not the clock's
    EXPECT_EQ(b.sound.kind, SoundKind::None);
    EXPECT_EQ(read.file.reminders[2].start, at("20261210T090000"));  // Guam's 10:00
    EXPECT_EQ(read.file.reminders[2].repeat, Repeat::Unsupported);
    EXPECT_FALSE(read.file.reminders[2].alarmOffset);
}

// Unchanged: written back byte for byte (as folded lines). Changed: only what changed is
// rewritten, everything else kept where it was; new: in the clock's own form.
TEST(ReminderFile, RoundTripKeepsWhatTheClockDoesNotUse) {
    const std::string original = calendar(
        "X-WR-CALNAME:家\r\nBEGIN:VTODO\r\nUID:t\r\nEND:VTODO\r\n" +
        event("a", "SUMMARY:古い\r\nLOCATION:本社\r\nDTEND:20261210T110000\r\nSEQUENCE:2\r\nRRULE:FREQ=WEEKLY;BYDAY=TH\r\n"
                   "X-OTHER:1\r\nBEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:-PT10M\r\nX-WR-ALARMUID:q\r\nEND:VALARM\r\n") +
        event("u", "RRULE:FREQ=MONTHLY;BYWEEKNO=3\r\nSUMMARY:" + std::string(80, 'x') + "\r\n"));
    ReminderFileRead read = readReminderFile(original);
    ASSERT_EQ(read.error, IcsError::None);
    const std::string same = writeReminderFile(read.file, "20260101T000000Z");
    EXPECT_EQ(readIcs(same).calendar, readIcs(original).calendar);
    EXPECT_NE(same.find("SUMMARY:" + std::string(67, 'x') + "\r\n " + std::string(13, 'x') + "\r\n"), std::string::npos);

    Reminder& a = read.file.reminders[0];
    a.title = L"新しい";
    a.start += 30;
    a.alarmOffset = -15;
    a.sound = {SoundKind::File, L"\\\\nas\\共有\\a_b-c.wav"};
    read.file.reminders[1].off = true;
    read.file.reminders.push_back(newReminder("n", L"誕生日", at("20261212T000000"), true));
    applyRepeatChoice(read.file.reminders.back(), RepeatChoice{RepeatKind::OldCalendarYearly});
    read.file.reminders.back().skipHolidays = true;
    const std::string written = writeReminderFile(read.file, "20260102T030405Z");
    const std::string expected = calendar(
        "X-WR-CALNAME:家\r\nBEGIN:VTODO\r\nUID:t\r\nEND:VTODO\r\n"
        "BEGIN:VEVENT\r\nUID:a\r\nDTSTART:20261210T103000\r\nSUMMARY:新しい\r\nLOCATION:本社\r\nDTEND:20261210T113000\r\nSEQUENCE:3\r\n"
        "RRULE:FREQ=WEEKLY;BYDAY=TH\r\nX-OTHER:1\r\nDTSTAMP:20260102T030405Z\r\nBEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:-PT15M\r\n"
        "X-WR-ALARMUID:q\r\nATTACH:file://nas/%E5%85%B1%E6%9C%89/a_b-c.wav\r\nEND:VALARM\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:u\r\nDTSTART:20261210T100000\r\nRRULE:FREQ=MONTHLY;BYWEEKNO=3\r\nSUMMARY:" + std::string(67, 'x') + "\r\n " +
        std::string(13, 'x') + "\r\nDTSTAMP:20260102T030405Z\r\nX-TAVRO-OFF:TRUE\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:n\r\nDTSTAMP:20260102T030405Z\r\nSUMMARY:誕生日\r\nDTSTART;VALUE=DATE:20261212\r\n"
        "X-TAVRO-OLD-CALENDAR:FREQ=YEARLY\r\nX-TAVRO-SKIP-HOLIDAYS:TRUE\r\nBEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:PT9H\r\nEND:VALARM\r\nEND:VEVENT\r\n");
    EXPECT_EQ(written, expected);
    const ReminderFileRead back = readReminderFile(written);
    ASSERT_EQ(back.file.reminders.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        Reminder mine = read.file.reminders[i], theirs = back.file.reminders[i];
        mine.source.reset();
        theirs.source.reset();
        EXPECT_EQ(theirs, mine) << i;
    }
}

// A three-way merge by UID: each side's own changes survive; both sides: the clock's.
TEST(ReminderFile, MergeKeepsTheChangesOfBothSides) {
    const std::string baseBytes = calendar(event("keep", "") + event("mine", "") + event("theirs", "") + event("both", "") +
                                           event("gone-there", "") + event("gone-here", "") + event("changed-gone", ""));
    const ReminderFile base = readReminderFile(baseBytes).file;
    ReminderFile mine = base;
    auto find = [](ReminderFile& f, const char* uid) -> Reminder& {
        for (Reminder& r : f.reminders) if (r.uid == uid) return r;
        throw 0;
    };
    find(mine, "mine").title = L"here";
    find(mine, "both").title = L"here";
    find(mine, "gone-there").title = L"edited here";
    std::erase_if(mine.reminders, [](const Reminder& r) { return r.uid == "gone-here"; });
    mine.reminders.push_back(newReminder("new-here", L"n", 0, false));
    const ReminderFile theirs = readReminderFile(calendar(
        "X-WR-CALNAME:sync\r\n" + event("keep", "") + event("mine", "") + event("theirs", "SUMMARY:there\r\n") + event("both", "SUMMARY:there\r\n") +
        event("gone-here", "") + event("changed-gone", "SUMMARY:there\r\n") + event("new-there", ""))).file;
    std::erase_if(mine.reminders, [](const Reminder& r) { return r.uid == "changed-gone"; });
    const MergeResult merged = mergeReminderFiles(base, mine, theirs);
    std::string got;
    for (const Reminder& r : merged.file.reminders) {
        got += r.uid + "=" + std::string(r.title.begin(), r.title.end()) + " ";
    }
    EXPECT_EQ(got, "keep= mine=here theirs=there both=here changed-gone=there new-there= gone-there=edited here new-here=n ");
    EXPECT_EQ(merged.conflicts, 3u);  // both, changed-gone, gone-there
    EXPECT_EQ(merged.file.calendar.find("X-WR-CALNAME")->value, "sync");
    Reminder madeHere = base.reminders[0];
    madeHere.source.reset();
    EXPECT_FALSE(sameReminder(madeHere, base.reminders[0]));
    EXPECT_TRUE(sameReminder(base.reminders[0], theirs.reminders[0]));
}

}  // namespace
}  // namespace tavro::reminders
