// make_pictures <output-dir>: writes the program's pictures. The output is the same on every
// run, so the committed files can be checked against a fresh run.
#include <cstdio>
#include <memory>
#include <string>

#include "pictures.h"

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    return std::fclose(f.release()) == 0 && written;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pictures <output-dir>\n");
        return 2;
    }
    const std::string dir = argv[1];
    int failures = 0;
    for (const tavro::pictures::PictureFile& file : tavro::pictures::makeAllPictures()) {
        const std::string path = dir + "/" + file.name;
        if (!writeFile(path, file.bytes)) {
            std::fprintf(stderr, "make_pictures: cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
