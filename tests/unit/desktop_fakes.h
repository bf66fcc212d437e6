// The desktop and the program's key as the desktop rules see them: a map of values, and a system
// that takes each change and logs it in order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "desktop/recovery_record.h"
#include "desktop/wallpaper_rules.h"

namespace tavro::desktop {

class MapStore : public RecordStore {
public:
    std::map<std::wstring, int32_t> numbers;
    std::map<std::wstring, std::wstring> texts;
    std::wstring failing;  // a value that cannot be written (a full disk, a locked key)

    std::optional<int32_t> readNumber(std::wstring_view name) override {
        return numbers.count(std::wstring(name)) ? std::optional(numbers[std::wstring(name)]) : std::nullopt;
    }
    std::optional<std::wstring> readText(std::wstring_view name) override {
        return texts.count(std::wstring(name)) ? std::optional(texts[std::wstring(name)]) : std::nullopt;
    }
    bool writeNumber(std::wstring_view name, int32_t value) override { return numbers[std::wstring(name)] = value, true; }
    bool writeText(std::wstring_view name, std::wstring_view text) override {
        return name != failing && (texts[std::wstring(name)] = text, true);
    }
    void remove(std::wstring_view name) override { numbers.erase(std::wstring(name)), texts.erase(std::wstring(name)); }
};

class FakeDesktop final : public DesktopSystem {
public:
    DesktopSettings now;
    std::map<std::wstring, std::string> files;
    std::wstring unwritable;
    std::vector<std::wstring> calls;

    DesktopSettings read() override { return now; }
    void writeWallPaper(const std::wstring& path) override { calls.push_back(L"wallpaper " + (now.wallPaper = path)); }
    void writeStyle(const std::wstring& style, const std::wstring& tile) override {
        calls.push_back(L"style " + style + L"/" + tile);
        now.style = style, now.tile = tile;
    }
    void writeColour(render::ColorRef colour) override { calls.push_back(L"colour " + std::to_wstring(now.colour = colour)); }
    void writeMonitorPicture(const std::wstring& m, const std::wstring& path) override { calls.push_back(L"monitor " + m + L" " + path); }
    void writePosition(int position) override { calls.push_back(L"position " + std::to_wstring(position)); }
    void writeSlideshow(const ShellWallPaper& s) override { calls.push_back(L"slideshow " + s.slideshowItems.at(0)); }
    bool exists(const std::wstring& path) override { return files.count(path) > 0; }
    bool sameContent(const std::wstring& a, const std::wstring& b) override { return exists(a) && exists(b) && files[a] == files[b]; }
    bool copyFile(const std::wstring& from, const std::wstring& to) override {
        return exists(from) && to != unwritable && (files[to] = files[from], true);
    }
    void removeFile(const std::wstring& path) override { files.erase(path); }
};

}  // namespace tavro::desktop
