#include "cli/converter.h"

#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>
#include <utility>

#include "cli/ilbm_conversion.h"
#include "cli/standard_streams.h"
#include "cli/picture_list.h"
#include "decode/loaded_picture.h"
#include "decode/picture_view.h"
#include "decode/row_sharing.h"
#include "iff/file_system.h"
#include "input/input_picture.h"
#include "iff/run_time_error.h"
#include "output/bitmap_stream.h"
#include "output/bmp_writer.h"
#include "output/exports.h"
#include "output/apng_writer.h"
#include "output/png_output.h"
#include "output/safe_file.h"
#include "output/square_pixels.h"

namespace planora::cli {

namespace {
bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string ExtensionOf(const std::string& path) {
    const std::string name = GetFileName(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot + 1);
}

OutputFormat ChooseFormat(const Options& options) {
    if (options.format) return *options.format;
    if (options.inputs.size() == 1 && !options.output.empty() && !IsFolder(options.output)) {
        if (auto fromName = FormatFromName(ExtensionOf(options.output))) return *fromName;
    }
    return OutputFormat::Bmp;
}

// Threads for the outputs: --jobs, else one per core; one for a single
// input or --info, which have nothing to share out.
int BatchThreads(const Options& options) {
    if (options.inputs.size() < 2 || options.info) return 1;
    if (options.jobs > 0) return options.jobs;
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

bool BatchProgress(const Options& options) {
    return options.inputs.size() > 1 && !options.quiet && ::isatty(STDERR_FILENO) == 1;
}


}  // namespace

Converter::Converter(Options options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)),
      format_(ChooseFormat(options_)),
      batch_(BatchThreads(options_), options_.inputs.size(), BatchProgress(options_), out, err),
      out_(batch_.Out()),
      err_(batch_.Err()) {
    pic_.SetObserver(this);
}

int Converter::Run() {
    if (options_.inputs.size() > 1 && !options_.output.empty() && !IsFolder(options_.output)) {
        err_ << "planora-convert: with several inputs, --output must name an existing folder: " << options_.output
             << "\n";
        return 2;
    }
    for (size_t i = 0; i < options_.inputs.size(); ++i) {
        batch_.BeginInput();
        const bool converted = ConvertOne(options_.inputs[i]);
        batch_.EndInput(converted);
    }
    return batch_.Finish() ? 0 : 1;
}

void Converter::ShowMessage(const std::string& text) {
    err_ << currentInput_ << ": " << text << "\n";
    messageShown_ = true;
}

void Converter::Fail(const std::string& input, const std::string& message) {
    err_ << input << ": " << message << "\n";
}

std::string Converter::OutputPathFor(const std::string& input) const {
    const std::string extension = FormatExtension(format_);
    if (options_.output.empty()) return IsStandardStream(input) ? input : PathBesideSource(input, extension);
    if (IsFolder(options_.output)) {
        std::string folder = options_.output;
        if (folder.back() != '/' && folder.back() != '\\') folder += '/';
        return folder + StripExtension(GetFileName(input)) + "." + extension;
    }
    return options_.output;
}

namespace {
// Attaches a row observer to the context for one load.
struct RowObserverScope {
    PictureContext& pic;
    RowObserverScope(PictureContext& context, RowObserver* observer) : pic(context) { pic.SetRowObserver(observer); }
    ~RowObserverScope() { pic.SetRowObserver(nullptr); }
};
}  // namespace

bool Converter::ConvertOne(const std::string& input) {
    currentInput_ = input;
    messageShown_ = false;
    // A BMP that may be written is started while the picture decodes; the
    // checks of WriteOutput still decide, after the load, what happens.
    const std::string target = options_.info ? std::string() : OutputPathFor(input);
    // An earlier input's output still being written may be this input or target.
    if (!options_.info) batch_.WaitForWrites({input, target});
    std::unique_ptr<BitmapStream> stream;
    if (format_ == OutputFormat::Bmp && !options_.info && !options_.frames && !options_.aspect && !IsStandardStream(target) && !SameFile(input, target) &&
        (options_.force || !FileExists(target)))
        stream = std::make_unique<BitmapStream>(pic_, target);
    // As "New" before a load: a failed load must not leave the last picture behind.
    pic_.ForgetPicture();
    try {
        RowObserverScope scope(pic_, stream.get());
        if (LoadInput(pic_, input) == 0) {
            if (!messageShown_ && !options_.info && format_ == OutputFormat::Iff) return ConvertForeignPicture(input, target);
            const input::InputFormat other = input::DetectInputFormat(pic_.FileBytes());
            if (!messageShown_ && other != input::InputFormat::None)
                Fail(input, std::string("a ") + input::InputFormatName(other) + " picture is converted to --format iff only");
            else if (!messageShown_)
                Fail(input, "not an IFF ILBM picture");
            return false;
        }
    } catch (const RunTimeError& failure) {
        Fail(input, FormatFailure("Load Error: ", failure, "  "));
        return false;
    }

    if (options_.info) {
        // One blank line between the blocks of the inputs that loaded.
        if (std::exchange(infoPrinted_, true)) out_ << "\n";
        for (const DetailLine& line : pic_.ImageInfoLines()) out_ << line.Label << " " << line.Value << "\n";
        return pic_.PictureCount < 2 || PrintOtherPictures(pic_, input, out_, err_);
    }
    if (pic_.IlbmInfo.Width < 1 || pic_.IlbmInfo.Height < 1) {
        Fail(input, "picture has no pixels");
        return false;
    }
    return WriteOutput(input, target, stream.get());
}

template <class Write>
bool Converter::Reporting(const std::string& input, std::ostream& err, Write write) const {
    try {
        write();
    } catch (const RunTimeError& failure) {
        err << input << ": " << FormatFailure("Error: ", failure, " ") << "\n";
        return false;
    } catch (const std::bad_alloc&) {
        err << input << ": " << FormatFailure("Error: ", RunTimeError(kOutOfMemory), " ") << "\n";
        return false;
    } catch (const std::invalid_argument& refusal) {
        // A picture the output format cannot hold (an ILBM over 32767 wide).
        err << input << ": " << refusal.what() << "\n";
        return false;
    }
    return true;
}

bool Converter::TargetAllowed(const std::string& input, const std::string& target) {
    if (IsStandardStream(target)) return true;
    // An ILBM rewritten in place replaces the input safely, when asked for by name.
    const bool rewrite = format_ == OutputFormat::Iff && !options_.output.empty() && options_.force;
    if (SameFile(input, target) && !rewrite) {
        Fail(input, "the output " + target + " is the input itself; not written" +
                        (format_ == OutputFormat::Iff ? " (to rewrite it, name it with --output and give --force)" : ""));
        return false;
    }
    if (FileExists(target) && !options_.force) {
        Fail(input, target + " exists; use --force to replace it");
        return false;
    }
    return true;
}

bool Converter::WriteOutput(const std::string& input, const std::string& target, BitmapStream* stream) {
    if (options_.frames) return WriteFrames(input, target);
    if (!TargetAllowed(input, target)) return false;
    if (format_ == OutputFormat::Iff && !CanWriteIlbm(pic_, options_.ilbm)) {
        Fail(input, kKeepNeedsIndicesText);
        return false;
    }
    if ((format_ == OutputFormat::Lut || format_ == OutputFormat::Txt) && !HasPaletteIndices(pic_)) {
        Fail(input, kNoPaletteIndicesText);
        return false;
    }
    // The next load reuses the context: the picture is handed over as a value
    // and the context keeps its colour tables. A worker writes only pictures
    // decoded on one thread, whose BMP stream has not started (it starts with
    // the rows of a two-thread decode) and of which a queue of several stays
    // small; larger ones are written here.
    if (batch_.Threaded() && !IsStandardStream(target) &&
        int64_t{pic_.IlbmInfo.Width} * pic_.IlbmInfo.Height < kParallelPixels) {
        auto handed = std::make_shared<PictureContext>(TakeLoadedPicture(pic_));
        batch_.Defer(target, [this, handed, input, target](std::ostream& err) {
            return WritePicture(std::move(*handed), input, target, err);
        });
        return true;
    }
    // A BMP begun during the load is finished from the context, whose rows
    // its writer may still be reading.
    if (stream) return Reporting(input, err_, [&] { WriteStillFile(pic_, target, stream); });
    return WritePicture(TakeLoadedPicture(pic_), input, target, err_);
}

bool Converter::WritePicture(PictureContext pic, const std::string& input, const std::string& target,
                             std::ostream& err) const {
    return Reporting(input, err, [&] {
        if (IsStandardStream(target))
            WriteThroughTemporaryFile(out_, FormatExtension(format_),
                                      [&](const std::string& path) { WritePictureFile(std::move(pic), path); });
        else
            WritePictureFile(std::move(pic), target);
    });
}

bool Converter::WriteBytes(const std::string& input, const std::string& target,
                           const std::function<std::vector<uint8_t>()>& build, std::ostream& err) const {
    return Reporting(input, err, [&] {
        if (IsStandardStream(target))
            WriteThroughTemporaryFile(out_, FormatExtension(format_),
                                      [&](const std::string& path) { WriteFileReplacing(path, build()); });
        else
            WriteFileReplacing(target, build());
    });
}

void Converter::WritePictureFile(PictureContext pic, const std::string& path) const {
    if (format_ == OutputFormat::Apng)
        WriteFileReplacing(path, EncodeAnimatedPng(std::move(pic), options_.aspect));
    else
        WriteStillFile(pic, path, nullptr);
}

void Converter::WriteStillFile(const PictureContext& pic, const std::string& path, BitmapStream* stream) const {
    const int32_t width = pic.IlbmInfo.Width, height = pic.IlbmInfo.Height;
    ScaledPicture held;
    const auto shown = [&] { return SquarePixels(ViewOf(pic), PixelAspectOf(pic.IlbmInfo), held); };
    switch (format_) {
    case OutputFormat::Bmp:
        if (options_.aspect)
            WriteFileReplacing(path, BuildBitmapFile(shown()));
        else if (stream)
            stream->Finish(width, height);
        else
            SaveArrayAsBitMap(pic, path, width, height);
        break;
    case OutputFormat::Png: WriteFileReplacing(path, EncodePng(options_.aspect ? shown() : ViewOf(pic))); break;
    case OutputFormat::Rgb: ExportRawRgb(pic, path); break;
    case OutputFormat::Lut: ExportRawChunky(pic, path); break;
    case OutputFormat::Txt: ExportPaletteText(pic, path); break;
    case OutputFormat::Apng: WriteFileReplacing(path, EncodeAnimatedPng(PictureContext(pic), options_.aspect)); break;
    case OutputFormat::Iff: WriteFileReplacing(path, IlbmFromPicture(pic, options_.ilbm)); break;
    }
}

}  // namespace planora::cli
