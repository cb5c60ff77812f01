#include "cli/picture_list.h"

#include "iff/run_time_error.h"

namespace planora::cli {

bool PrintOtherPictures(PictureContext& pic, const std::string& input, std::ostream& out, std::ostream& err) {
    bool allLoaded = true;
    const int32_t count = pic.PictureCount;
    for (int32_t i = 1; i < count; ++i) {
        pic.PictureIndex = i;
        try {
            if (pic.Load_IFF_To_Array(input) == 1) {
                out << "\n";
                for (const DetailLine& line : pic.ImageInfoLines()) out << line.Label << " " << line.Value << "\n";
                continue;
            }
            err << input << ": picture " << i + 1 << ": not a picture\n";
        } catch (const RunTimeError& failure) {
            err << input << ": picture " << i + 1 << ": " << FormatFailure("Load Error: ", failure, "  ") << "\n";
        }
        allLoaded = false;
    }
    pic.PictureIndex = 0;
    return allLoaded;
}

}  // namespace planora::cli
