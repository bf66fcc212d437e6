// Every picture the program carries, as the bytes of its file under pictures/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavro::pictures {

struct PictureFile {
    std::string name;  // file name inside pictures/
    std::vector<uint8_t> bytes;
};

std::vector<PictureFile> makeAllPictures();

}  // namespace tavro::pictures
