// Where notice windows stack, and which sound files are handed to the system.
#include <gtest/gtest.h>

#include <string>

#include "reminders/notice_stack.h"
#include "reminders/sound_file.h"

namespace tavro::reminders {
namespace {

TEST(NoticeStack, UpFromTheCornerThenTheNextColumnNeverOverlapping) {
    const NoticeRect work{0, 0, 1000, 500};
    struct Case {
        const char* name;
        std::vector<NoticeRect> open;
        NoticeRect want;
    } cases[] = {
        {"none open: the corner", {}, {690, 382, 990, 490}},
        {"above the first", {{690, 382, 990, 490}}, {690, 264, 990, 372}},
        {"into a gap a closed one left", {{690, 264, 990, 372}}, {690, 382, 990, 490}},
        {"a gap too small is passed", {{690, 400, 990, 490}, {690, 200, 990, 320}}, {690, 82, 990, 190}},
        {"a full column: the next to its left",
         {{690, 382, 990, 490}, {690, 264, 990, 372}, {690, 146, 990, 254}, {690, 28, 990, 136}},
         {380, 382, 680, 490}},
        {"no room anywhere: the corner", {{0, 0, 1000, 500}}, {690, 382, 990, 490}},
    };
    for (const Case& c : cases) EXPECT_EQ(placeNotice(work, 300, 108, 10, c.open), c.want) << c.name;
}

std::string chunk(const char* id, std::string body) {
    const auto n = static_cast<uint32_t>(body.size());
    std::string out(id, 4);
    for (int i = 0; i < 4; ++i) out += static_cast<char>(n >> (8 * i) & 0xFF);
    return out + body + (n & 1 ? std::string(1, '\0') : std::string());
}
std::string riff(std::string chunks) {
    std::string size(4, '\0');
    return "RIFF" + size + "WAVE" + chunks;
}

TEST(SoundFile, OnlyAWaveWithFormatAndData) {
    const std::string pcm("\1\0\1\0\x40\x1f\0\0\x80\x3e\0\0\2\0\x10\0", 16);  // PCM, mono, 8000 Hz
    const std::string silent("\0\0", 2);
    struct Case {
        const char* name;
        std::string bytes;
        bool want;
    } cases[] = {
        {"format then data", riff(chunk("fmt ", pcm) + chunk("data", silent)), true},
        {"a list chunk of odd size before them", riff(chunk("LIST", "abc") + chunk("fmt ", pcm) + chunk("data", silent)), true},
        {"data before its format", riff(chunk("data", silent) + chunk("fmt ", pcm)), false},
        {"no data", riff(chunk("fmt ", pcm)), false},
        {"empty data", riff(chunk("fmt ", pcm) + chunk("data", "")), false},
        {"a format of no channels", riff(chunk("fmt ", std::string("\1\0\0\0\x40\x1f\0\0\x80\x3e\0\0\2\0\x10\0", 16)) + chunk("data", silent)), false},
        {"a format cut off", riff(chunk("fmt ", pcm).substr(0, 12)), false},
        {"not RIFF", "ID3\3" + std::string(40, '\0'), false},
        {"empty", "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(looksLikeWave(c.bytes), c.want) << c.name;
}

}  // namespace
}  // namespace tavro::reminders
