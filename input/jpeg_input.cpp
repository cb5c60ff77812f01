// JPEG through libjpeg-turbo, the JPEG library every Debian program uses.
// Its errors end in longjmp: the decode runs in a function whose frames hold
// no C++ objects with destructors, and every warning (a file cut short, bad
// data) counts as an error, so a damaged file gives no grey half picture.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "input/format_readers.h"

namespace planora::input {

namespace {
struct Failure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info) {
    Failure* failure = reinterpret_cast<Failure*>(info->err);
    failure->manager.format_message(info, failure->message);
    std::longjmp(failure->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level < 0) OnError(info);
}

// Where the decode stands; only plain data crosses the longjmp.
struct Decode {
    const uint8_t* data;
    size_t size;
    int64_t byteBudget;
    uint32_t width = 0, height = 0;
    std::vector<uint8_t>* rgb;
    const char* sizeRefusal = nullptr;  // set when the header's size is refused
};

// False with failure.message, or with decode.sizeRefusal, on failure.
bool DecodeJpeg(Decode& decode, Failure& failure) {
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = OnError;
    failure.manager.emit_message = OnMessage;
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, decode.data, (unsigned long)decode.size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    decode.width = info.image_width;
    decode.height = info.image_height;
    try {
        CheckInputSize(decode.width, decode.height, decode.byteBudget);
        decode.rgb->resize(size_t(decode.width) * decode.height * 3);
    } catch (const std::exception&) {
        decode.sizeRefusal = "refused";
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = decode.rgb->data() + size_t(info.output_scanline) * decode.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}
}  // namespace

InputPicture ReadJpeg(Bytes bytes, int64_t byteBudget) {
    InputPicture picture;
    Failure failure{};
    Decode decode{bytes.data(), bytes.size(), byteBudget, 0, 0, &picture.Colours.Rgb};
    if (!DecodeJpeg(decode, failure)) {
        // The size check's own message, thrown again outside the decode.
        if (decode.sizeRefusal) CheckInputSize(decode.width, decode.height, byteBudget);
        if (decode.sizeRefusal) throw InputError("JPEG: out of memory");
        throw InputError(std::string("JPEG: ") + failure.message);
    }
    picture.Colours.Width = int32_t(decode.width);
    picture.Colours.Height = int32_t(decode.height);
    return picture;
}

}  // namespace planora::input
