#include "holidays/list_answer.h"

#include <algorithm>

namespace tavro::holidays {

namespace {

bool startsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const wchar_t c = text[i] >= L'A' && text[i] <= L'Z' ? wchar_t(text[i] - L'A' + L'a') : text[i];
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

std::wstring listUrlSetting(const std::optional<std::wstring>& stored) {
    if (!stored) return std::wstring(kOfficialListUrl);
    const std::wstring& url = *stored;
    if (url.empty()) return {};
    const bool printableAscii =
        std::all_of(url.begin(), url.end(), [](wchar_t c) { return c > 0x20 && c < 0x7F; });
    const std::size_t schemeEnd = startsWithNoCase(url, L"https://") ? 8 : startsWithNoCase(url, L"http://") ? 7 : 0;
    // A host at least: "https://" alone is no address.
    if (!printableAscii || schemeEnd == 0 || url.size() == schemeEnd || url[schemeEnd] == L'/')
        return std::wstring(kOfficialListUrl);
    return url;
}

ListVerdict judgeListAnswer(const ListAnswer& answer, bool conditional, int currentYear, NameDecoder decode) {
    ListVerdict verdict;
    if (answer.code != 0) return verdict;
    if (answer.status == 304) {
        if (conditional) verdict.outcome = ListOutcome::Unchanged;
        return verdict;
    }
    if (answer.status < 200 || answer.status > 299) return verdict;
    if (answer.contentLength && *answer.contentLength != answer.body.size()) return verdict;
    verdict.list = checkHolidayList(answer.body, currentYear, decode);
    if (verdict.list) verdict.outcome = ListOutcome::NewList;
    return verdict;
}

}  // namespace tavro::holidays
