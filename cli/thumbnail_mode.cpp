#include "cli/thumbnail_mode.h"

#include <sys/stat.h>
#include <unistd.h>

#include <new>

#include "decode/display_shape.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "output/png_output.h"
#include "output/safe_file.h"
#include "output/thumbnail.h"

namespace planora::cli {

namespace {
int Fail(std::ostream& err, const std::string& input, const std::string& message) {
    err << input << ": " << message << "\n";
    return 1;
}
}  // namespace

int RunThumbnail(int32_t size, const std::string& input, const std::string& output, std::ostream& err) {
    // SIGALRM ends the process, by default, before anything is written; the
    // alarm is cancelled only once the PNG is in memory.
    ::alarm(kThumbnailDeadlineSeconds);
    struct stat info {};
    if (::stat(input.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return Fail(err, input, "cannot read the file");
    if (info.st_size > kThumbnailMaxFileBytes) return Fail(err, input, "file too large for a thumbnail");

    PictureContext pic;
    pic.ImageByteBudget = kThumbnailByteBudget;
    try {
        if (pic.Load_IFF_To_Array(input) == 0) return Fail(err, input, "not a picture Planora reads");
        if (pic.IlbmInfo.Width < 1 || pic.IlbmInfo.Height < 1) return Fail(err, input, "picture has no pixels");
        // At the shape the display showed: the scaler makes the pixels square
        // as it makes the picture small, in one pass.
        const DisplaySize shown = DisplaySizeOf(pic.IlbmInfo.Width, pic.IlbmInfo.Height, PixelAspectOf(pic.IlbmInfo));
        const auto [width, height] = ThumbnailSize(shown.Width, shown.Height, size);
        const PictureView picture = ViewOf(pic);
        const std::vector<uint8_t> png = width == picture.Width && height == picture.Height
                                             ? EncodePng(picture)
                                             : EncodePng(ScalePicture(picture, width, height).View());
        ::alarm(0);
        WriteFileReplacing(output, png);
    } catch (const RunTimeError& failure) {
        return Fail(err, input, FormatFailure("Error: ", failure, " "));
    } catch (const std::bad_alloc&) {
        return Fail(err, input, FormatFailure("Error: ", RunTimeError(kOutOfMemory), " "));
    }
    return 0;
}

}  // namespace planora::cli
