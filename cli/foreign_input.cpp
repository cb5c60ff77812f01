// --format iff from PNG, JPEG, GIF and BMP files: the IFF load found no IFF
// picture, but read the file's bytes into the context; the readers of
// input/ take them from there.
#include <memory>

#include "cli/converter.h"
#include "cli/ilbm_conversion.h"
#include "cli/standard_streams.h"
#include "input/input_picture.h"

namespace planora::cli {

bool Converter::ConvertForeignPicture(const std::string& input, const std::string& target) {
    const input::Bytes bytes = pic_.FileBytes();
    if (input::DetectInputFormat(bytes) == input::InputFormat::None) {
        Fail(input, "not an IFF ILBM, PNG, JPEG, GIF or BMP picture");
        return false;
    }
    auto picture = std::make_shared<input::InputPicture>();
    try {
        *picture = input::ReadInputPicture(bytes, pic_.ImageByteBudget);
    } catch (const input::InputError& failure) {
        Fail(input, failure.what());
        return false;
    } catch (const std::bad_alloc&) {
        Fail(input, "out of memory");
        return false;
    }
    if (!TargetAllowed(input, target)) return false;
    if (!CanWriteIlbm(*picture, options_.ilbm)) {
        Fail(input, kKeepNeedsIndicesText);
        return false;
    }
    const auto write = [this, picture, input, target](std::ostream& err) {
        return WriteBytes(input, target, [&] { return IlbmFromPicture(*picture, options_.ilbm); }, err);
    };
    if (batch_.Threaded() && !IsStandardStream(target)) {
        batch_.Defer(target, write);
        return true;
    }
    return write(err_);
}

}  // namespace planora::cli
