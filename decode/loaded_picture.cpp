#include "decode/loaded_picture.h"

#include <utility>

namespace planora {

PictureContext TakeLoadedPicture(PictureContext& from) {
    auto file = std::move(from.FileCache);
    auto colours = std::move(from.ColourImage);
    auto indices = std::move(from.ChunkyImage);
    auto alpha = std::move(from.AlphaImage);
    PictureContext picture = from;
    picture.FileCache = std::move(file);
    picture.ColourImage = std::move(colours);
    picture.ChunkyImage = std::move(indices);
    picture.AlphaImage = std::move(alpha);
    return picture;
}

}  // namespace planora
