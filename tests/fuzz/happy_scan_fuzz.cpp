// Arbitrary bytes as the feed's answer body: through the scan, and through a whole fetch
// whose steps serve them in chunks, with failing reads and odd status texts mixed in.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "holidays/happy_feed.h"

using namespace tavro::holidays;

namespace {

class ServedSteps : public HttpSteps {
public:
    ServedSteps(std::string_view body, int chunk, uint8_t mode) : body_(body), chunk_(chunk), mode_(mode) {}

    int openInternet() override { return open(root_, 1); }
    int openConnection(const std::string&, int) override { return open(connection_, 2); }
    int openRequest(const std::string&, const std::string& path) override {
        if (path.empty() || path.size() > kMaxPathChars) std::abort();
        return open(request_, 3);
    }
    int sendRequest() override { return (mode_ & 7) == 4 ? 12029 : 0; }
    int queryInfo(int, std::string& text) override {
        if ((mode_ & 7) == 5) return 12150;
        text = (mode_ & 8) ? "404" : "200";
        return 0;
    }
    int readChunk(uint8_t* buffer, int capacity, int& got) override {
        got = 0;
        if (capacity != kChunkBytes) std::abort();
        // Mode bits 4-5: every second, third or no read fails once before it succeeds.
        const int every = (mode_ >> 4) & 3;
        if (every != 0 && ++calls_ % (every + 1) == 0) return 12002;
        got = static_cast<int>(std::min<std::size_t>({body_.size() - served_, static_cast<std::size_t>(chunk_),
                                                       static_cast<std::size_t>(capacity)}));
        std::copy_n(body_.data() + served_, got, buffer);
        served_ += static_cast<std::size_t>(got);
        return 0;
    }
    void closeRequest() override { close(request_); }
    void closeConnection() override { close(connection_); }
    void closeInternet() override { close(root_); }

    bool anyOpen() const { return root_ || connection_ || request_; }

private:
    // Mode 1-3 makes that open step fail.
    int open(bool& handle, int step) {
        handle = true;
        return (mode_ & 7) == step ? 12000 + step : 0;
    }
    static void close(bool& handle) { handle = false; }

    std::string_view body_;
    int chunk_;
    uint8_t mode_;
    std::size_t served_ = 0;
    int calls_ = 0;
    bool root_ = false, connection_ = false, request_ = false;
};

void checkDates(const std::vector<DateValue>& dates, std::size_t bodySize) {
    // Each entry needs its own 30 bytes of marker and date.
    if (dates.size() > bodySize / 30) std::abort();
    for (DateValue d : dates) {
        if (!std::isfinite(d) || d != std::floor(d)) std::abort();
        const tavro::datetime::CivilDateTime c = tavro::datetime::toCivil(d);
        if (!tavro::datetime::isValidDate(c.year, c.month, c.day) || c.year < 1 || c.year > 9999) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::vector<DateValue> scanned = scanHappyDays(all);
    checkDates(scanned, size);

    if (size < 2) return 0;
    const int chunk = 1 + data[0] * 4;
    const uint8_t mode = data[1];
    const std::string_view body = all.substr(2);
    ServedSteps steps(body, chunk, mode);
    HappyFromGoogle feed(steps);
    const int code = feed.loadHappyDays(tavro::datetime::makeDate(2009, 1, 1));
    if (steps.anyOpen()) std::abort();
    if (feed.happyCount != static_cast<int>(feed.happyDays.size())) std::abort();
    if (code != 0) {
        if (!feed.happyDays.empty()) std::abort();
    } else if (feed.happyDays != scanHappyDays(body)) {
        std::abort();
    }
    return 0;
}
