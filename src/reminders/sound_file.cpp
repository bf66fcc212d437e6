#include "reminders/sound_file.h"

#include <cstdint>

namespace tavro::reminders {

namespace {
uint32_t le32(std::string_view b, std::size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
}  // namespace

bool looksLikeWave(std::string_view b) {
    if (b.size() < 12 || b.size() > kMaxSoundFileBytes || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE")
        return false;
    bool format = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string_view id = b.substr(at, 4);
        const uint64_t size = le32(b, at + 4);
        if (id == "fmt ") {
            if (size < 16 || at + 8 + size > b.size()) return false;
            const uint32_t tag = le32(b, at + 8) & 0xFFFF, channels = le32(b, at + 8) >> 16;
            format = tag != 0 && channels != 0 && le32(b, at + 12) != 0;
        }
        if (id == "data") return format && size > 0;
        at += 8 + size + (size & 1);
    }
    return false;
}

}  // namespace tavro::reminders
